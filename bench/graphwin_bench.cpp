#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>

#include "bench/BenchRatios.h"
#include "graph/Bitmap.h"
#include "graph/GraphRenderer.h"
#include "platform/RegionalSettings.h"
#include "project/ProjectFile.h"
#include "tests/support/FakeFrame.h"
#include "ui/graph/GraphWindow.h"
#include "ui/graph/OutputOptionsDialog.h"
#include "ui/graph/ProgressDialog.h"
#include "ui/project/ProjectWindow.h"

namespace {

using Clock = std::chrono::steady_clock;

// The 20-function project of bench/twenty.qgp: every column of a 1920 x 1080 frame, line-wise.
ProjectDocument WideProject() {
  ProjectDocument project;
  ReadProjectFile(QEL_BENCH_PROJECT, project);
  return project;
}

// Its frame, grid and axes without a function: what a generation costs besides the curves.
ProjectDocument EmptyProject() {
  ProjectDocument project = WideProject();
  project.Functions.clear();
  return project;
}

// The application's windows over a fake frame, with the project open in an editor.
struct Windows {
  explicit Windows(const ProjectDocument& project = WideProject()) {
    SetRegionalDecimalSeparator('.');
    form3.Timer1->setInterval(0);
    const QString path = dir.filePath("wide.qgp");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray::fromStdString(ProjectFileText(project)));
    file.close();
    editor = static_cast<TMDIChild*>(
        CreateProjectWindow(frame.Context(), frame.Parser, frame.Shared, path, false));
  }

  // The user's click into the editor, shown before the generation starts.
  void ActivateEditor() {
    frame.Area.setActiveSubWindow(editor);
    QCoreApplication::processEvents();
  }

  void Generate() {
    frame.Shared.GenerationCancelled = false;
    form3.ShowModalFor(editor->Document(), editor->windowTitle());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  QTemporaryDir dir;
  FakeFrame frame;
  TForm2 form2{frame.Questions, frame.Shared, frame.PrinterDevice};
  TForm3 form3{frame.Context(), frame.Parser, frame.Shared, frame.PrinterDevice, form2};
  TMDIChild* editor = nullptr;
};

// What `qelcli render` does before writing the file: the renderer with nothing to poll.
void CoreRender(benchmark::State& state, const ProjectDocument& project) {
  SetRegionalDecimalSeparator('.');
  TQelParser parser;
  parser.SetConvertAllColonsAndDots(true);
  const bool cancelled = false;
  for (auto _ : state) {
    Bitmap bitmap(1920, 1080);
    benchmark::DoNotOptimize(GraphRenderer(project, parser, bitmap, cancelled, {}, {}));
  }
}
void BM_CoreRender(benchmark::State& state) {
  CoreRender(state, WideProject());
}
void BM_CoreRenderNoCurves(benchmark::State& state) {
  CoreRender(state, EmptyProject());
}
BENCHMARK(BM_CoreRender)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CoreRenderNoCurves)->Unit(benchmark::kMillisecond);

// The same project through the progress dialog into a new graph window, from the command until
// the older window is gone and the new one shows its finished picture.
void WindowedGeneration(benchmark::State& state, const ProjectDocument& project) {
  Windows windows(project);
  for (auto _ : state) {
    state.PauseTiming();
    windows.ActivateEditor();
    state.ResumeTiming();
    windows.Generate();
    QCoreApplication::processEvents();
  }
}
void BM_WindowedGeneration(benchmark::State& state) {
  WindowedGeneration(state, WideProject());
}
// The specified steps around the drawing: the dialog, closing the older window, the new window
// with its picture, the final repaint.
void BM_WindowedGenerationNoCurves(benchmark::State& state) {
  WindowedGeneration(state, EmptyProject());
}
// Of those steps, the new graph window alone: made, given its white 1920 x 1080 picture, shown
// and painted, then closed.
void BM_GraphWindowOnly(benchmark::State& state) {
  Windows windows;
  for (auto _ : state) {
    auto* graph = new TGraph(windows.frame.Context(), windows.frame.PrinterDevice, windows.form2);
    graph->ShowPicture(1920, 1080);
    QCoreApplication::processEvents();
    graph->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}
BENCHMARK(BM_WindowedGeneration)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowedGenerationNoCurves)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphWindowOnly)->Unit(benchmark::kMillisecond);

// From the cancel key reaching the queue, at the drawing's second poll, until the dialog is gone.
void BM_CancelLatency(benchmark::State& state) {
  Windows windows;
  for (auto _ : state) {
    windows.ActivateEditor();
    Clock::time_point clicked = Clock::now();
    int polls = 0;
    auto* timer = new QTimer(&windows.form3);
    QObject::connect(timer, &QTimer::timeout, timer, [&, timer] {
      if (!windows.form3.Generating() || ++polls < 2) return;
      timer->stop();
      clicked = Clock::now();
      QCoreApplication::postEvent(&windows.form3,
                                  new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    timer->start(0);
    windows.Generate();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - clicked).count());
    delete timer;
  }
}
BENCHMARK(BM_CancelLatency)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios({{"BM_WindowedGeneration", "BM_CoreRender"},
                        {"BM_WindowedGenerationNoCurves", "BM_CoreRender"},
                        {"BM_GraphWindowOnly", "BM_CoreRender"},
                        {"BM_CoreRenderNoCurves", "BM_CoreRender"}});
  benchmark::Shutdown();
  return 0;
}
