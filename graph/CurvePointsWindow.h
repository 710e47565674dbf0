#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "analysis/PointTable.h"
#include "shell/ChildForm.h"
#include "shell/StandardMenus.h"

class FrameCommands;
class QAction;
class QMenu;
class QMdiArea;
class QTreeWidget;
struct ProjectDocument;

// The points of a curve discussion as a list of function, kind, x and y; saved as text in the tab
// layout and copied to the clipboard in the same layout. It is a table window to the frame, whose
// "Speichern" saves it.
class TCurvePoints : public ChildForm {
  Q_OBJECT
 public:
  TCurvePoints(FrameCommands& frame, QMdiArea* area);

  QMenuBar* MainMenu1() const override { return menus_.Bar; }

  void SetRows(std::vector<PointRow> rows);
  const std::vector<PointRow>& Rows() const { return rows_; }

  QTreeWidget* ListView1;
  QAction* Kopieren1;

 public slots:
  void Wertetabellespeichernunter1Click() override;
  void Kopieren1Click();

 private:
  FrameCommands& frame_;
  StandardMenus menus_;
  std::vector<PointRow> rows_;
};

// Discusses every function of the project into a new window "Kurvenpunkte (<caption>)", after
// closing an older one of the same project. Input is let through while it works; closing the new
// window stops the analysis. Returns the window, or null when it was closed meanwhile.
TCurvePoints* ShowCurvePoints(FrameCommands& frame, const QString& projectCaption,
                              const ProjectDocument& project);

// Adds "Kurvendiskussion" and "Wert berechnen…" to a graph window's menu and to its picture's
// context menu. `project` is what the picture was drawn from (null while there is none); the
// window's title "Garph (<project caption>)" names the project.
void AddCurveDiscussion(QMenu& menu, QWidget& picture, FrameCommands& frame, QWidget& window,
                        std::function<const ProjectDocument*()> project);
