// A value table per row: BuildValueTableRows over 2000 rows, beside a baseline of the bare engine
// step per sample (SetX(LongDoubleToStr(x)), Evaluate, ErgebnisString copied). The ratio is the
// builder's own cost on top of the engine.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/QelParser.h"
#include "platform/RegionalSettings.h"
#include "valuetable/ValueTable.h"

namespace {

const char* const kExpressions[] = {"x", "sin(x)*2^x", "ln(abs(x)+1)*cos(3*x)"};
const ValueTableInput kRange{"-10", "9.99", "0.01", ""};

void Builder(benchmark::State& state) {
  SetRegionalDecimalSeparator('.');
  TQelParser engine;
  ValueTableInput input = kRange;
  input.Expression = kExpressions[state.range(0)];
  for (auto _ : state) benchmark::DoNotOptimize(BuildValueTableRows(engine, input, {}));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(MaxValueTableRows));
  state.SetLabel(input.Expression);
}

void EngineSteps(benchmark::State& state) {
  SetRegionalDecimalSeparator('.');
  TQelParser engine;
  engine.SetExpression(kExpressions[state.range(0)]);
  engine.CreateTree();
  std::vector<std::string> texts(MaxValueTableRows);
  for (auto _ : state) {
    long double x = -10.0L;
    for (std::string& text : texts) {
      engine.SetX(engine.LongDoubleToStr(x));
      engine.Evaluate();
      text = engine.ErgebnisString();
      x += 0.01L;
    }
    benchmark::DoNotOptimize(texts.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(MaxValueTableRows));
  state.SetLabel(kExpressions[state.range(0)]);
}

}  // namespace

BENCHMARK(Builder)->DenseRange(0, 2);
BENCHMARK(EngineSteps)->DenseRange(0, 2);

BENCHMARK_MAIN();
