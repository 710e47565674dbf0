#pragma once

#include <QString>
#include <string>

#include "ui/shell/ChildContext.h"
#include "ui/shell/ChildForm.h"
#include "ui/shell/StandardMenus.h"
#include "valuetable/ValueTable.h"

class QTreeWidget;
class TQelParser;
struct ProjectSettings;

// The value table window: one table of x and f(x) texts, shown as a two-column list and saved as
// text. It knows nothing of the project it came from.
class TForm4 : public ChildForm {
  Q_OBJECT
 public:
  explicit TForm4(const ChildContext& context);

  QMenuBar* MainMenu1() const override { return menus_.Bar; }

  // Replaces the table and shows it in one go.
  void SetRows(ValueTable rows);
  const ValueTable& Rows() const { return rows_; }

  QTreeWidget* ListView1;

 public slots:
  void Wertetabellespeichernunter1Click() override;

 private:
  void FitColumns();
  Prompts& questions_;
  StandardMenus menus_;
  ValueTable rows_;
};

// Builds the table of one function of a project into a new value table window, after closing an
// older table of the same project. Returns the window, or null when it was closed while building.
TForm4* BuildValueTable(const ChildContext& context, TQelParser& engine,
                        const QString& projectCaption, const ProjectSettings& settings,
                        const std::string& stepWidth, const std::string& expression);
