#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/QelParser.h"
#include "graph/Bitmap.h"
#include "graph/GraphRenderer.h"
#include "platform/RegionalSettings.h"

namespace {

constexpr int32_t kWidth = 1920, kHeight = 1080;

const std::vector<std::string>& Expressions() {
  static const std::vector<std::string> list = {
      "x",
      "sin(x)*2^x",
      "x^3-2*x^2+x-1",
      "abs(sin(x))/(1+x^2)",
      "ln(abs(x)+1)*cos(3*x)",
      "tan(x) mod 2",
      "x^2/5",
      "cos(x)*5",
      "1/x",
      "sin(3*x)*x",
      "lg(abs(x)+2)",
      "x mod 3",
      "2^(x/3)",
      "sin(x)+cos(2*x)",
      "abs(x)-5",
      "x*x*x/50",
      "cos(x/2)*x",
      "sin(x)/x",
      "(x+1)*(x-1)/4",
      "ln(x^2+1)",
  };
  return list;
}

ProjectDocument Project(bool pointwise, const std::string& step = "0.001") {
  ProjectDocument project;
  project.Settings.OutputWidth = std::to_string(kWidth);
  project.Settings.OutputHeight = std::to_string(kHeight);
  project.Settings.Pointwise = pointwise;
  for (size_t i = 0; i < Expressions().size(); ++i) {
    project.Functions.push_back({std::to_string(i + 1), Expressions()[i], step,
                                 std::to_string(static_cast<int32_t>(i * 0x0A1B2C))});
  }
  return project;
}

TQelParser MakeParser() {
  SetRegionalDecimalSeparator('.');
  TQelParser parser;
  parser.SetConvertAllColonsAndDots(true);
  return parser;
}

void Render(benchmark::State& state, const ProjectDocument& project) {
  TQelParser parser = MakeParser();
  const bool cancelled = false;
  for (auto _ : state) {
    state.PauseTiming();  // the graph window makes the fresh bitmap, not the renderer
    Bitmap bitmap(kWidth, kHeight);
    state.ResumeTiming();
    benchmark::DoNotOptimize(GraphRenderer(project, parser, bitmap, cancelled, {}, {}));
  }
}

void BM_RenderPointwise(benchmark::State& state) {
  Render(state, Project(true));
}
void BM_RenderLinewise(benchmark::State& state) {
  Render(state, Project(false));
}

// The engine's share alone: the same samples, text round trip and evaluation, nothing drawn.
void BM_EngineOnly(benchmark::State& state) {
  TQelParser parser = MakeParser();
  parser.SetPrecision(8);
  for (auto _ : state) {
    for (const std::string& expression : Expressions()) {
      parser.SetExpression(expression);
      parser.CreateTree();
      for (int32_t u = 1; u <= kWidth; ++u) {
        parser.SetX(parser.LongDoubleToStr(-10 + u * 20.0L / kWidth));
        try {
          benchmark::DoNotOptimize(parser.Evaluate());
        } catch (const EngineError&) {
        }
      }
    }
  }
}

// What an unclipped renderer would take hours over: a grid step of 1e-9, values reaching 1e12 and
// tan(x), all line-wise.
void BM_RenderFarAndFine(benchmark::State& state) {
  ProjectDocument project = Project(false);
  project.Settings.GridStep = "1e-9";
  for (size_t i = 0; i < project.Functions.size(); ++i) {
    project.Functions[i].Expression = i % 2 ? "tan(x)" : "x*1000000000000";
  }
  Render(state, project);
}

BENCHMARK(BM_EngineOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderPointwise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderLinewise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderFarAndFine)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
