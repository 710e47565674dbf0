#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <string>

#include "ui/shell/ChildContext.h"

struct FrameFields;
class QLabel;
class QPrinter;
class QPushButton;
class QTimer;
class TForm2;
class TGraph;
class TQelParser;
struct ProjectDocument;

// The progress dialog of graph generation. Created once and reused: the caller sets ProjectCaption
// and Project and shows it modally; a second after it appears, its timer starts the
// generation once, which replaces the project's older graph window by a new one and draws into it.
// The cancel button and Esc stop the drawing at its next check point; the new window is closed
// before the dialog goes. While drawing, the dialog closes only when the drawing has ended.
// A zoom draws again into its open graph window at once (Redraw): the dialog shows only when that
// takes longer than a moment, and without the timer.
class TForm3 : public QDialog {
  Q_OBJECT
 public:
  TForm3(const ChildContext& context, TQelParser& engine, FrameFields& fields, QPrinter& printer,
         TForm2& form2, QWidget* parent = nullptr);

  QString ProjectCaption;
  const ProjectDocument* Project = nullptr;  // must outlive the modal showing

  int ShowModal();
  // The frame's hand-over once the editor has checked its settings: the editor's project and its
  // caption.
  int ShowModalFor(const ProjectDocument& project, const QString& caption);
  // Draws the project into the graph window again, replacing its picture once the drawing is
  // complete; false (and the old picture) when it was cancelled or failed.
  bool Redraw(TGraph& graph, const ProjectDocument& project);
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
  void Report(const std::string& message);

  ChildContext context_;
  TQelParser& engine_;
  FrameFields& fields_;
  QPrinter& printer_;
  TForm2& form2_;
  bool generating_ = false;
  bool redrawing_ = false;  // shown by a redraw that took long: no timer, no generation
  QPointer<TGraph> lastGraph_;
  QElapsedTimer sinceRepaint_;
};
