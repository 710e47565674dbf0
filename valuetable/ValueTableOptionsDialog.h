#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>

class FrameCommands;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
class TMDIChild;
struct ProjectDocument;

// A bare pair of up and down arrows holding a bounded position (no wrap). It is not tied to an
// edit: the dialog decides what the edit shows.
class TUpDown : public QWidget {
  Q_OBJECT
 public:
  TUpDown(int min, int max, int position, QWidget* parent);

  int Position() const { return position_; }
  void SetPosition(int position);
  // One arrow press: moves the position by one step within the bounds and reports the click.
  void Step(int delta);

 signals:
  void Click();

 private:
  int min_, max_, position_;
};

// The value table options dialog: picks one function of a project and the number of decimals, then
// builds the table. Created once and reused, so the decimals survive from one use to the next.
class TForm5 : public QDialog {
  Q_OBJECT
 public:
  TForm5(FrameCommands& frame, QWidget* parent);

  // Fills the function list from the project and remembers the project window it serves. The
  // document must outlive the dialog's modal showing.
  void Prepare(QWidget& projectWindow, const ProjectDocument& document);
  // Prepares the dialog for a project editor and shows it modally.
  void ShowFor(TMDIChild& projectWindow);

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
  TUpDown* UpDown1;
  QLabel* Label3;
  QToolButton* Button1;
  QToolButton* Button2;
  QToolButton* Button3;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceControls();

  FrameCommands& frame_;
  QPointer<QWidget> projectWindow_;
  const ProjectDocument* document_ = nullptr;
  bool building_ = false;
};
