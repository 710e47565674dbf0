#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "ui/shell/ChildContext.h"
#include "ui/shell/FieldHabits.h"
#include "ui/shell/UpDownArrows.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
struct ProjectDocument;
class TQelParser;

// The value table options dialog: picks one function of a project and the number of decimals, then
// builds the table. Created once and reused, so the decimals survive from one use to the next.
class TForm5 : public QDialog {
  Q_OBJECT
 public:
  TForm5(const ChildContext& context, TQelParser& engine, QWidget* parent);

  // Fills the function list from the project and remembers the project window it serves. The
  // document must outlive the dialog's modal showing.
  void Prepare(QWidget& projectWindow, const ProjectDocument& document);
  // Prepares the dialog for a project window and its document and shows it modally.
  void ShowFor(QWidget& projectWindow, const ProjectDocument& document);

  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Edit1Exit();
  void UpDown1Click();
  // Returns true when the key was one of the dialog's own (Enter, F1, Escape).
  bool FormKeyDown(int key);

  QLabel* Label1;
  QComboBox* ComboBox1;
  QLabel* Label2;
  QLineEdit* Edit1;
  UpDownArrows* UpDown1;
  QLabel* Label3;
  QToolButton* Button1;
  QToolButton* Button2;
  QToolButton* Button3;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceControls();

  ChildContext context_;  // the value table windows it opens
  TQelParser& engine_;
  QPointer<QWidget> projectWindow_;
  const ProjectDocument* document_ = nullptr;
  bool building_ = false;
  std::unique_ptr<FieldExits> exits_;
};
