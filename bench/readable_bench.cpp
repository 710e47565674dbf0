// The cost of a readable graph: bench/twenty.qgp (20 functions, 1920 x 1080) with axis numbers,
// legend, smooth and exact curves all on against the same project with all of them off, drawn
// onto a bitmap and written as SVG and PDF. Ratios of benchmarks from the same run are printed at
// the end.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchRatios.h"
#include "engine/QelParser.h"
#include "graph/Bitmap.h"
#include "graph/GraphRenderer.h"
#include "graph/VectorPicture.h"
#include "graph/VectorWriter.h"
#include "platform/RegionalSettings.h"
#include "project/ProjectFile.h"

namespace {

ProjectDocument Twenty(bool readable) {
  ProjectDocument p;
  ReadProjectFile(QEL_BENCH_PROJECT, p);
  ProjectSettings& s = p.Settings;
  s.AxisNumbers = s.Legend = s.SmoothCurves = s.ExactCurves = readable;
  return p;
}

template <typename Picture, typename Encode>
void Render(benchmark::State& state, bool readable, Encode encode) {
  SetRegionalDecimalSeparator('.');
  TQelParser parser;
  parser.SetConvertAllColonsAndDots(true);
  const ProjectDocument project = Twenty(readable);
  const bool cancelled = false;
  for (auto _ : state) {
    Picture picture(1920, 1080);
    GraphRenderer(project, parser, picture, cancelled, {}, {}, 1);
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
  Render<Bitmap>(state, false, Keep);
}
void BM_ReadableBitmap(benchmark::State& state) {
  Render<Bitmap>(state, true, Keep);
}
void BM_PlainSvg(benchmark::State& state) {
  Render<VectorPicture>(state, false, Svg);
}
void BM_ReadableSvg(benchmark::State& state) {
  Render<VectorPicture>(state, true, Svg);
}
void BM_PlainPdf(benchmark::State& state) {
  Render<VectorPicture>(state, false, Pdf);
}
void BM_ReadablePdf(benchmark::State& state) {
  Render<VectorPicture>(state, true, Pdf);
}

BENCHMARK(BM_PlainBitmap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadableBitmap)->Unit(benchmark::kMillisecond);
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
                        {"BM_ReadableSvg", "BM_PlainSvg"},
                        {"BM_ReadablePdf", "BM_PlainPdf"}});
  benchmark::Shutdown();
  return 0;
}
