// The whole curve analysis of the 20-function project in bench/twenty.qgp (1920 columns, all
// points of every function and all 190 intersections) against rendering its picture on one
// thread, the renderer's own baseline. Ratios of benchmarks from the same run are printed at the
// end.
#include <benchmark/benchmark.h>

#include "analysis/CurveAnalysis.h"
#include "bench/BenchProject.h"
#include "bench/BenchRatios.h"
#include "engine/QelParser.h"
#include "graph/Bitmap.h"
#include "graph/GraphRenderer.h"
#include "platform/RegionalSettings.h"
#include "project/ProjectFile.h"

namespace {

void BM_RenderOneThread(benchmark::State& state) {
  TQelParser parser = BenchEngine();
  const bool cancelled = false;
  for (auto _ : state) {
    state.PauseTiming();
    Bitmap bitmap(1920, 1080);
    state.ResumeTiming();
    benchmark::DoNotOptimize(GraphRenderer(BenchProject(), parser, bitmap, cancelled, {}, {}, 1));
  }
}

void BM_AnalyseProject(benchmark::State& state) {
  TQelParser parser = BenchEngine();
  size_t points = 0;
  for (auto _ : state) {
    const ProjectPoints result = AnalyseProject(BenchProject(), parser, std::nullopt, {});
    points = 0;
    for (const PointList& list : result.Lists) points += list.Points.size();
    benchmark::DoNotOptimize(points);
  }
  state.counters["points"] = static_cast<double>(points);
}

BENCHMARK(BM_RenderOneThread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnalyseProject)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios({{"BM_AnalyseProject", "BM_RenderOneThread"}});
  benchmark::Shutdown();
  return 0;
}
