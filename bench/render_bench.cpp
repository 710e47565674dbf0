// Rendering of the 20-function project in bench/twenty.qgp (1920 x 1080, every column, line-wise):
// the engine's share per graph the way it was done per function and the way the renderer does it
// now, the whole renderer on one thread and on all cores, and a project eight times as large for
// the scaling. Ratios of benchmarks from the same run are printed at the end.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/BenchProject.h"
#include "bench/BenchRatios.h"
#include "engine/QelParser.h"
#include "graph/Bitmap.h"
#include "graph/CurveWorkers.h"
#include "graph/GraphRenderer.h"
#include "graph/PlotLoop.h"
#include "platform/RegionalSettings.h"
#include "project/ProjectFile.h"

namespace {

// Each function eight times, so that there is more work to share than threads to share it.
const ProjectDocument& Large() {
  static const ProjectDocument project = [] {
    ProjectDocument p = BenchProject();
    const std::vector<FunctionEntry> functions = p.Functions;
    for (int i = 1; i < 8; ++i)
      p.Functions.insert(p.Functions.end(), functions.begin(), functions.end());
    return p;
  }();
  return project;
}

PlotGeometry Frame() {
  PlotGeometry frame;
  frame.W = 1920;
  frame.H = 1080;
  return frame;
}

// The samples as each curve took them: x to text and back and the result's text, per function,
// with the fault flags read after each operation.
void BM_EnginePerFunction(benchmark::State& state) {
  TQelParser parser = BenchEngine();
  parser.SetFaultChecking(FaultChecks::EachOperation);
  const PlotGeometry frame = Frame();
  for (auto _ : state) {
    for (const FunctionEntry& entry : BenchProject().Functions) {
      parser.SetExpression(entry.Expression);
      parser.CreateTree();
      for (int32_t u = 1; u <= frame.W; ++u) {
        parser.SetX(parser.LongDoubleToStr(frame.XFrom + u * (frame.XTo - frame.XFrom) / frame.W));
        try {
          benchmark::DoNotOptimize(parser.Evaluate());
        } catch (const EngineError&) {
        }
      }
    }
  }
}

// The same samples as the renderer takes them now: each column's x made once per graph, the
// values into the curve's buffer, one thread.
void BM_EnginePerGraph(benchmark::State& state) {
  TQelParser parser = BenchEngine();
  const PlotGeometry frame = Frame();
  std::vector<CurveSample> samples(static_cast<size_t>(frame.W));
  for (auto _ : state) {
    ColumnTable columns(frame, parser);
    const auto column = [&](int64_t u) -> const VariableReading& { return columns.At(u); };
    for (const FunctionEntry& entry : BenchProject().Functions) {
      parser.SetExpression(entry.Expression);
      parser.CreateTree();
      SampleCurve(parser, frame, 1, 0, samples.size(), column, samples.data());
      benchmark::DoNotOptimize(samples.data());
    }
  }
}

void Render(benchmark::State& state, const ProjectDocument& project, unsigned threads) {
  TQelParser parser = BenchEngine();
  const bool cancelled = false;
  for (auto _ : state) {
    state.PauseTiming();  // the graph window makes the fresh bitmap, not the renderer
    Bitmap bitmap(1920, 1080);
    state.ResumeTiming();
    benchmark::DoNotOptimize(GraphRenderer(project, parser, bitmap, cancelled, {}, {}, threads));
  }
}

void BM_RenderOneThread(benchmark::State& state) {
  Render(state, BenchProject(), 1);
}
void BM_RenderAllCores(benchmark::State& state) {
  Render(state, BenchProject(), RenderThreads());
}
void BM_LargeOneThread(benchmark::State& state) {
  Render(state, Large(), 1);
}
void BM_LargeAllCores(benchmark::State& state) {
  Render(state, Large(), RenderThreads());
}

// What an unclipped renderer would take hours over: a grid step of 1e-9, values reaching 1e12 and
// tan(x), all line-wise.
void BM_RenderFarAndFine(benchmark::State& state) {
  ProjectDocument project = BenchProject();
  project.Settings.GridStep = "1e-9";
  for (size_t i = 0; i < project.Functions.size(); ++i) {
    project.Functions[i].Expression = i % 2 ? "tan(x)" : "x*1000000000000";
  }
  Render(state, project, RenderThreads());
}

BENCHMARK(BM_EnginePerFunction)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnginePerGraph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderOneThread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderAllCores)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeOneThread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeAllCores)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderFarAndFine)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("cores: %u\n", RenderThreads());
  reporter.PrintRatios({{"BM_EnginePerGraph", "BM_EnginePerFunction"},
                        {"BM_RenderAllCores", "BM_RenderOneThread"},
                        {"BM_LargeAllCores", "BM_LargeOneThread"}});
  benchmark::Shutdown();
  return 0;
}
