#include <benchmark/benchmark.h>

#include <string>

#include "bench/FormatsProject.h"
#include "engine/QelParser.h"
#include "graph/Bitmap.h"
#include "graph/BmpWriter.h"
#include "graph/GraphRenderer.h"
#include "graph/JpegWriter.h"
#include "graph/PngWriter.h"
#include "graph/VectorWriter.h"
#include "platform/RegionalSettings.h"

// Drawing the twenty-function graph at 1920 x 1080 and encoding it in each format; the file's size
// is the "bytes" counter. The bitmap's drawing alone is the baseline.
namespace {

TQelParser MakeParser() {
  SetRegionalDecimalSeparator('.');
  TQelParser parser;
  parser.SetConvertAllColonsAndDots(true);
  return parser;
}

template <typename Picture, typename Encode>
void Save(benchmark::State& state, Encode encode) {
  const ProjectDocument project = TwentyFunctionsProject();
  TQelParser parser = MakeParser();
  const bool cancelled = false;
  size_t bytes = 0;
  for (auto _ : state) {
    Picture picture(1920, 1080);
    GraphRenderer(project, parser, picture, cancelled, {}, {});
    bytes = encode(picture).size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_DrawOnly(benchmark::State& state) {
  Save<Bitmap>(state, [](const Bitmap&) { return std::string(); });
}
void BM_Bmp(benchmark::State& state) {
  Save<Bitmap>(state, [](const Bitmap& b) { return EncodeBmp(b); });
}
void BM_Jpeg60(benchmark::State& state) {
  Save<Bitmap>(state, [](const Bitmap& b) { return EncodeJpeg(b, 60); });
}
void BM_Png(benchmark::State& state) {
  Save<Bitmap>(state, [](const Bitmap& b) { return EncodePng(b); });
}
void BM_Svg(benchmark::State& state) {
  Save<VectorPicture>(state, [](const VectorPicture& p) { return EncodeSvg(p); });
}
void BM_Pdf(benchmark::State& state) {
  Save<VectorPicture>(state, [](const VectorPicture& p) { return EncodePdf(p); });
}

}  // namespace

BENCHMARK(BM_DrawOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jpeg60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Png)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Svg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pdf)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
