#include "ui/graph/ProgressDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <chrono>

#include "graph/Bitmap.h"
#include "graph/GraphRenderer.h"
#include "project/ProjectDocument.h"
#include "ui/graph/GraphPointer.h"
#include "ui/graph/GraphWindow.h"
#include "ui/platform/Prompts.h"
#include "ui/platform/Windows1252Text.h"
#include "ui/shell/AppInfo.h"
#include "ui/shell/ChildForm.h"
#include "ui/shell/DialogHabits.h"
#include "ui/shell/FieldHabits.h"
#include "ui/shell/FrameFields.h"

namespace {

constexpr int kRepaintEveryMs = 40;
// Input is let through this often during a drawing: Esc acts at once to the eye, and the checks
// in between cost next to nothing.
constexpr std::chrono::milliseconds kPollEvery{4};
// A redraw that takes longer than this shows the dialog, so that it can be cancelled.
constexpr int kRedrawQuietMs = 300;

}  // namespace

TForm3::TForm3(const ChildContext& context, TQelParser& engine, FrameFields& fields,
               QPrinter& printer, TForm2& form2, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      Label1(new QLabel(this)),
      Image1(new QLabel(this)),
      SpeedButton1(NewDialogButton(this, QStringLiteral("A&bbrechen"), QRect(126, 76, 91, 28))),
      Timer1(new QTimer(this)),
      context_(context),
      engine_(engine),
      fields_(fields),
      printer_(printer),
      form2_(form2) {
  setObjectName("Form3");
  setWindowTitle(QStringLiteral("Erzeuge Graphen"));
  setFixedSize(342, 117);
  setModal(true);
  Image1->setGeometry(12, 12, 40, 40);
  Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  Label1->setText(
      QStringLiteral("Bitte haben Sie einen Moment Geduld, während Qel Graphics den "
                     "Graphen erzeugt."));
  Label1->setWordWrap(true);
  Label1->setGeometry(64, 12, 266, 48);
  connect(SpeedButton1, &QPushButton::clicked, this, &TForm3::Button1Click);
  Timer1->setSingleShot(true);
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &TForm3::Timer1Timer);
  PreviewKeys(*this, *this);
}

int TForm3::ShowModal() {
  return ExecCentred(*this);
}

int TForm3::ShowModalFor(const ProjectDocument& project, const QString& caption) {
  ProjectCaption = caption;
  Project = &project;
  return ShowModal();
}

TGraph* TForm3::LastGraph() const {
  return lastGraph_;
}

// Each showing starts exactly one generation.
void TForm3::showEvent(QShowEvent* event) {
  if (!redrawing_) Timer1->start();
  QDialog::showEvent(event);
}

void TForm3::Timer1Timer() {
  Timer1->stop();
  const QString graphTitle = QStringLiteral("Garph (") + ProjectCaption + QStringLiteral(")");
  bool completed = false;
  generating_ = true;
  try {
    completed = Generate(graphTitle);
  } catch (const std::exception&) {
    // A grid step that cannot be read ends the drawing; the window keeps what was drawn.
  }
  generating_ = false;
  completed ? accept() : reject();
  if (completed && lastGraph_) lastGraph_->Image1->update();
}

bool TForm3::Generate(const QString& graphTitle) {
  if (Project == nullptr) return false;
  const ProjectDocument& project = *Project;
  const OutputSize size = RenderOutputSize(project.Settings);
  const auto cancelled = [this] { return fields_.GenerationCancelled; };
  if (!ChildForm::CloseOlder(*context_.Area, graphTitle, cancelled)) return false;
  auto* graph = new TGraph(context_, printer_, form2_);
  lastGraph_ = graph;
  graph->setWindowTitle(graphTitle);
  Bitmap& picture = graph->ShowPicture(size.Width, size.Height);
  graph->KeepDrawing(project, engine_);
  sinceRepaint_.start();
  const RenderResult result =
      GraphRenderer(project, engine_, picture, fields_.GenerationCancelled,
                    ThrottledPoll([this] { Poll(); }, kPollEvery),
                    [this](const std::string& message) { Report(message); });
  if (result == RenderResult::Completed) {
    graph->Pointer->SetGeometry(RenderGeometry(project.Settings, engine_),
                                LimitsFor(project.Settings));
    return true;
  }
  graph->close();
  return false;
}

void TForm3::Report(const std::string& message) {
  context_.Questions.Message(this, kMessageCaption, FromWindows1252(message), {PromptButton::Ok},
                             PromptIcon::Exclamation);
}

bool TForm3::Redraw(TGraph& graph, const ProjectDocument& project) {
  const QPointer<TGraph> alive(&graph);
  const OutputSize size = RenderOutputSize(project.Settings);
  Bitmap fresh(size.Width, size.Height);
  fields_.GenerationCancelled = false;
  QElapsedTimer running;
  running.start();
  const auto poll = [this, &running] {
    if (!isVisible() && running.elapsed() >= kRedrawQuietMs) ShowCentred(*this);
    QCoreApplication::processEvents();
  };
  RenderResult result = RenderResult::Cancelled;
  generating_ = redrawing_ = true;
  try {
    result = GraphRenderer(project, engine_, fresh, fields_.GenerationCancelled,
                           ThrottledPoll(poll, kPollEvery),
                           [this](const std::string& message) { Report(message); });
  } catch (const std::exception&) {
    // As in a generation, a grid step that cannot be read ends the drawing quietly.
  }
  generating_ = false;
  if (isVisible()) done(QDialog::Rejected);
  redrawing_ = false;
  if (result != RenderResult::Completed || !alive) return false;
  graph.ReplacePicture(std::move(fresh));
  graph.KeepDrawing(project, engine_);
  graph.Pointer->SetGeometry(RenderGeometry(project.Settings, engine_),
                             LimitsFor(project.Settings));
  return true;
}

// Lets input through (the drawing calls this every few milliseconds); the growing picture is shown
// a few times a second rather than at every call, which would cost more than the drawing.
void TForm3::Poll() {
  if (lastGraph_ && sinceRepaint_.elapsed() >= kRepaintEveryMs) {
    lastGraph_->Image1->update();
    sinceRepaint_.restart();
  }
  QCoreApplication::processEvents();
}

// The drawing is stopped at its next check point; the dialog closes when it has stopped.
void TForm3::Button1Click() {
  fields_.GenerationCancelled = true;
  if (!generating_) reject();
}

// The title bar's close button does not stop a drawing: the dialog closes when it has ended.
void TForm3::closeEvent(QCloseEvent* event) {
  if (generating_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && isVisible()) {
    Button1Click();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

// Every closing sets the flag; the next generation clears it when it starts.
void TForm3::done(int result) {
  Timer1->stop();
  fields_.GenerationCancelled = true;
  QDialog::done(result);
}
