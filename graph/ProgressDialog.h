#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>

class ChildForm;
class FrameCommands;
class QLabel;
class QPushButton;
class QTimer;
class TForm2;
class TGraph;
struct ProjectDocument;

// The progress dialog of graph generation. Created once and reused: the caller sets ProjectCaption
// and Project and shows it modally; a second after it appears, its timer starts the
// generation once, which replaces the project's older graph window by a new one and draws into it.
// The cancel button and Esc stop the drawing at its next check point; the new window is closed
// before the dialog goes. While drawing, the dialog closes only when the drawing has ended.
class TForm3 : public QDialog {
  Q_OBJECT
 public:
  TForm3(FrameCommands& frame, TForm2& form2, QWidget* parent = nullptr);

  QString ProjectCaption;
  const ProjectDocument* Project = nullptr;  // must outlive the modal showing

  int ShowModal();
  // The frame's hand-over once the editor has checked its settings: the editor's project and its
  // caption, and the editor itself, which the new graph may ask to zoom.
  int ShowModalFor(const ProjectDocument& project, const QString& caption,
                   ChildForm* editor = nullptr);
  bool Generating() const { return generating_; }
  // The graph window of the last generation while it is open.
  TGraph* LastGraph() const;

  QLabel* Label1;
  QLabel* Image1;
  QPushButton* SpeedButton1;
  QTimer* Timer1;

 public slots:
  void Timer1Timer();
  void Button1Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void done(int result) override;

 private:
  bool Generate(const QString& graphTitle);
  void Poll();

  FrameCommands& frame_;
  TForm2& form2_;
  bool generating_ = false;
  QPointer<TGraph> lastGraph_;
  QPointer<ChildForm> editor_;
  QElapsedTimer sinceRepaint_;
};
