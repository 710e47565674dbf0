// The cost of a readable graph: bench/twenty.qgp (20 functions, 1920 x 1080) with axis numbers,
// legend, smooth and exact curves all on against the same project with all of them off, drawn
// onto a bitmap and written as SVG and PDF. Ratios of benchmarks from the same run are printed at
// the end.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchProject.h"
#include "bench/BenchRatios.h"
#include "engine/QelParser.h"
#include "graph/Bitmap.h"
#include "graph/CurveWorkers.h"
#include "graph/GraphRenderer.h"
#include "graph/VectorPicture.h"
#include "graph/VectorWriter.h"
#include "platform/RegionalSettings.h"
#include "project/ProjectFile.h"

namespace {

enum Switch : unsigned { kNumbers = 1, kLegend = 2, kSmooth = 4, kExact = 8, kAll = 15 };

ProjectDocument Twenty(unsigned switches) {
  ProjectDocument p = BenchProject();
  ProjectSettings& s = p.Settings;
  s.AxisNumbers = switches & kNumbers;
  s.Legend = switches & kLegend;
  s.SmoothCurves = switches & kSmooth;
  s.ExactCurves = switches & kExact;
  return p;
}

template <typename Picture, typename Encode>
void Render(benchmark::State& state, unsigned switches, Encode encode, unsigned threads = 1) {
  TQelParser parser = BenchEngine();
  const ProjectDocument project = Twenty(switches);
  const bool cancelled = false;
  for (auto _ : state) {
    Picture picture(1920, 1080);
    GraphRenderer(project, parser, picture, cancelled, {}, {}, threads);
    encode(picture);
  }
}

void Keep(const Bitmap& bitmap) {
  benchmark::DoNotOptimize(bitmap.Data());
}
void Svg(const VectorPicture& picture) {
  benchmark::DoNotOptimize(EncodeSvg(picture));
}
void Pdf(const VectorPicture& picture) {
  benchmark::DoNotOptimize(EncodePdf(picture));
}

void BM_PlainBitmap(benchmark::State& state) {
  Render<Bitmap>(state, 0, Keep);
}
void BM_ReadableBitmap(benchmark::State& state) {
  Render<Bitmap>(state, kAll, Keep);
}
// As the window renders, with the curves sampled ahead on every core.
void BM_PlainBitmapAllCores(benchmark::State& state) {
  Render<Bitmap>(state, 0, Keep, RenderThreads());
}
void BM_ReadableBitmapAllCores(benchmark::State& state) {
  Render<Bitmap>(state, kAll, Keep, RenderThreads());
}
// Each switch on its own, to tell where a readable bitmap's time goes.
void BM_NumbersBitmap(benchmark::State& state) {
  Render<Bitmap>(state, kNumbers, Keep);
}
void BM_LegendBitmap(benchmark::State& state) {
  Render<Bitmap>(state, kLegend, Keep);
}
void BM_SmoothBitmap(benchmark::State& state) {
  Render<Bitmap>(state, kSmooth, Keep);
}
void BM_ExactBitmap(benchmark::State& state) {
  Render<Bitmap>(state, kExact, Keep);
}
void BM_PlainSvg(benchmark::State& state) {
  Render<VectorPicture>(state, 0, Svg);
}
void BM_ReadableSvg(benchmark::State& state) {
  Render<VectorPicture>(state, kAll, Svg);
}
void BM_PlainPdf(benchmark::State& state) {
  Render<VectorPicture>(state, 0, Pdf);
}
void BM_ReadablePdf(benchmark::State& state) {
  Render<VectorPicture>(state, kAll, Pdf);
}

BENCHMARK(BM_PlainBitmap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadableBitmap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainBitmapAllCores)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadableBitmapAllCores)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumbersBitmap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LegendBitmap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmoothBitmap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExactBitmap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainSvg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadableSvg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadablePdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios({{"BM_ReadableBitmap", "BM_PlainBitmap"},
                        {"BM_ReadableBitmapAllCores", "BM_PlainBitmapAllCores"},
                        {"BM_NumbersBitmap", "BM_PlainBitmap"},
                        {"BM_LegendBitmap", "BM_PlainBitmap"},
                        {"BM_SmoothBitmap", "BM_PlainBitmap"},
                        {"BM_ExactBitmap", "BM_PlainBitmap"},
                        {"BM_ReadableSvg", "BM_PlainSvg"},
                        {"BM_ReadablePdf", "BM_PlainPdf"}});
  benchmark::Shutdown();
  return 0;
}
