// The renderer's inner step per sample, SetX(LongDoubleToStr(x)) then Evaluate(), beside a
// baseline that does the work the behaviour requires without a tree: x through "%.8Lf" text and
// back, the expression hand-written in long double, the fault flags tested after each operation.
#include <benchmark/benchmark.h>

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/QelParser.h"
#include "platform/RegionalSettings.h"

namespace {

constexpr int kFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

std::vector<long double> Samples() {
  std::vector<long double> xs;
  for (int i = 0; i < 1000; ++i) xs.push_back(-10.0L + 20.0L * i / 999);
  return xs;
}

// Counts faults instead of throwing so that the loop stays the same for every sample.
long double Checked(long double v, int& faults) {
  faults += std::fetestexcept(kFaults) != 0;
  return v;
}

struct Expression {
  const char* Text;
  long double (*Baseline)(long double x, int& faults);
};

const Expression kExpressions[] = {
    {"x", [](long double x, int&) { return x; }},
    {"sin(x)*2^x",
     [](long double x, int& f) {
       const long double power = Checked(std::pow(2.0, static_cast<double>(x)), f);
       const long double sine = Checked(std::sin(static_cast<double>(x)), f);
       return Checked(sine * power, f);
     }},
    {"x^3-2*x^2+x-1",
     [](long double x, int& f) {
       const long double cube = Checked(std::pow(static_cast<double>(x), 3.0), f);
       const long double square = Checked(std::pow(static_cast<double>(x), 2.0), f);
       const long double twice = Checked(2 * square, f);
       return Checked(Checked(Checked(cube - twice, f) + x, f) - 1, f);
     }},
    {"abs(sin(x))/(1+x^2)",
     [](long double x, int& f) {
       const long double square = Checked(std::pow(static_cast<double>(x), 2.0), f);
       const long double denominator = Checked(1 + square, f);
       const long double sine = Checked(std::sin(static_cast<double>(x)), f);
       return Checked(std::fabs(sine) / denominator, f);
     }},
    {"ln(abs(x)+1)*cos(3*x)",
     [](long double x, int& f) {
       const long double angle = Checked(3 * x, f);
       const long double cosine = Checked(std::cos(static_cast<double>(angle)), f);
       const long double log = Checked(std::log(Checked(std::fabs(x) + 1, f)), f);
       return Checked(log * cosine, f);
     }},
    {"tan(x) mod 2",
     [](long double x, int& f) {
       const long double t = Checked(std::tan(static_cast<double>(x)), f);
       const long double q = Checked(t / 2, f);
       return Checked(t - Checked(std::trunc(q) * 2, f), f);
     }},
};

void EngineStep(benchmark::State& state, const char* text) {
  SetRegionalDecimalSeparator(',');
  TQelParser engine;
  engine.SetConvertAllColonsAndDots(true);
  engine.SetPrecision(8);
  engine.SetExpression(text);
  if (!engine.CreateTree()) state.SkipWithError("expression does not build");
  const std::vector<long double> xs = Samples();
  size_t i = 0;
  for (auto _ : state) {
    engine.SetX(engine.LongDoubleToStr(xs[i]));
    try {
      benchmark::DoNotOptimize(engine.Evaluate());
    } catch (const EngineError&) {
      benchmark::ClobberMemory();
    }
    i = i + 1 == xs.size() ? 0 : i + 1;
  }
}

void BaselineStep(benchmark::State& state, const Expression* expression) {
  const std::vector<long double> xs = Samples();
  size_t i = 0;
  int faults = 0;
  char text[64];
  for (auto _ : state) {
    std::snprintf(text, sizeof text, "%.8Lf", xs[i]);
    const long double x = std::strtold(text, nullptr);
    benchmark::DoNotOptimize(expression->Baseline(x, faults));
    i = i + 1 == xs.size() ? 0 : i + 1;
  }
  benchmark::DoNotOptimize(faults);
}

}  // namespace

int main(int argc, char** argv) {
  for (const Expression& expression : kExpressions) {
    benchmark::RegisterBenchmark((std::string("Engine/") + expression.Text).c_str(), EngineStep,
                                 expression.Text);
    benchmark::RegisterBenchmark((std::string("Baseline/") + expression.Text).c_str(), BaselineStep,
                                 &expression);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
