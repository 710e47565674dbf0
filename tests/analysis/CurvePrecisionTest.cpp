#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "analysis/CurveAnalysis.h"
#include "platform/RegionalSettings.h"

namespace {

using K = PointKind;
constexpr long double kPi = std::numbers::pi_v<long double>;
const long double kSqrt3 = std::sqrt(3.0L);
const long double kLn2 = std::log(2.0L);

struct Expected {
  K Kind;
  long double X;
  bool Double = false;  // a double zero (or touching crossing): 1e-12 is enough
};

struct Case {
  const char* Expression;
  long double From, To;
  std::vector<Expected> Points;
};

// clang-format off
// Every point of each function over its range, in closed form; the y-intercept is checked apart.
const std::vector<Case> kFunctions = {
    {"x^3-3*x", -3, 3, {{K::Zero, -kSqrt3}, {K::Maximum, -1}, {K::Zero, 0}, {K::Inflection, 0}, {K::Minimum, 1}, {K::Zero, kSqrt3}}},
    {"x^2-4", -5, 5, {{K::Zero, -2}, {K::Minimum, 0}, {K::Zero, 2}}},
    {"x^2", -5, 5, {{K::Zero, 0, true}, {K::Minimum, 0}}},
    {"(x-1)^2", -5, 5, {{K::Zero, 1, true}, {K::Minimum, 1}}},
    {"x^2-2*x+1", -5, 5, {{K::Zero, 1, true}, {K::Minimum, 1}}},
    {"x^3", -2, 2, {{K::Zero, 0}, {K::Inflection, 0}}},
    {"x^4-5*x^2+4", -3, 3, {{K::Zero, -2}, {K::Minimum, -std::sqrt(2.5L)}, {K::Zero, -1}, {K::Inflection, -std::sqrt(5.0L / 6)}, {K::Maximum, 0}, {K::Inflection, std::sqrt(5.0L / 6)}, {K::Zero, 1}, {K::Minimum, std::sqrt(2.5L)}, {K::Zero, 2}}},
    {"2*x+1", -5, 5, {{K::Zero, -0.5L}}},
    {"x^3-6*x^2+11*x-6", 0, 4, {{K::Zero, 1}, {K::Maximum, 2 - 1 / kSqrt3}, {K::Zero, 2}, {K::Inflection, 2}, {K::Minimum, 2 + 1 / kSqrt3}, {K::Zero, 3}}},
    {"(x^3-3*x)/1000000000", -3, 3, {{K::Zero, -kSqrt3}, {K::Maximum, -1}, {K::Zero, 0}, {K::Inflection, 0}, {K::Minimum, 1}, {K::Zero, kSqrt3}}},
    {"x^3-3*x+1000", -3, 3, {{K::Maximum, -1}, {K::Inflection, 0}, {K::Minimum, 1}}},
    {"x^3-x", -2, 2, {{K::Zero, -1}, {K::Maximum, -1 / kSqrt3}, {K::Zero, 0}, {K::Inflection, 0}, {K::Minimum, 1 / kSqrt3}, {K::Zero, 1}}},
    {"x^5-x", -2, 2, {{K::Zero, -1}, {K::Maximum, -std::pow(0.2L, 0.25L)}, {K::Zero, 0}, {K::Inflection, 0}, {K::Minimum, std::pow(0.2L, 0.25L)}, {K::Zero, 1}}},
    {"3*x^4-4*x^3", -2, 2, {{K::Zero, 0}, {K::Inflection, 0}, {K::Inflection, 2.0L / 3}, {K::Minimum, 1}, {K::Zero, 4.0L / 3}}},
    {"(x-1)^2*(x+2)", -3, 3, {{K::Zero, -2}, {K::Maximum, -1}, {K::Inflection, 0}, {K::Zero, 1, true}, {K::Minimum, 1}}},
    {"x^2-2", 0, 3, {{K::Zero, std::sqrt(2.0L)}}},
    {"sin(x)", -4, 4, {{K::Zero, -kPi}, {K::Inflection, -kPi}, {K::Minimum, -kPi / 2}, {K::Zero, 0}, {K::Inflection, 0}, {K::Maximum, kPi / 2}, {K::Zero, kPi}, {K::Inflection, kPi}}},
    {"cos(x)", -4, 4, {{K::Minimum, -kPi}, {K::Zero, -kPi / 2}, {K::Inflection, -kPi / 2}, {K::Maximum, 0}, {K::Zero, kPi / 2}, {K::Inflection, kPi / 2}, {K::Minimum, kPi}}},
    {"sin(2*x)", -2, 2, {{K::Zero, -kPi / 2}, {K::Inflection, -kPi / 2}, {K::Minimum, -kPi / 4}, {K::Zero, 0}, {K::Inflection, 0}, {K::Maximum, kPi / 4}, {K::Zero, kPi / 2}, {K::Inflection, kPi / 2}}},
    {"sin(x)+cos(x)", -3, 3, {{K::Minimum, -3 * kPi / 4}, {K::Zero, -kPi / 4}, {K::Inflection, -kPi / 4}, {K::Maximum, kPi / 4}, {K::Zero, 3 * kPi / 4}, {K::Inflection, 3 * kPi / 4}}},
    {"sin(x)-0.5", 0, 3, {{K::Zero, kPi / 6}, {K::Maximum, kPi / 2}, {K::Zero, 5 * kPi / 6}}},
    {"sin(x)^2", -0.5L, 3.5L, {{K::Zero, 0, true}, {K::Minimum, 0}, {K::Inflection, kPi / 4}, {K::Maximum, kPi / 2}, {K::Inflection, 3 * kPi / 4}, {K::Zero, kPi, true}, {K::Minimum, kPi}}},
    {"tan(x)", -2, 2, {{K::Pole, -kPi / 2}, {K::Zero, 0}, {K::Inflection, 0}, {K::Pole, kPi / 2}}},
    {"2^x-4", -5, 5, {{K::Zero, 2}}},
    {"x*2^x", -5, 2, {{K::Inflection, -2 / kLn2}, {K::Minimum, -1 / kLn2}, {K::Zero, 0}}},
    {"2^(-x^2)", -3, 3, {{K::Inflection, -1 / std::sqrt(2 * kLn2)}, {K::Maximum, 0}, {K::Inflection, 1 / std::sqrt(2 * kLn2)}}},
    {"ln(x)", 0.5L, 5, {{K::Zero, 1}}},
    {"ln(x)-2", 1, 10, {{K::Zero, std::exp(2.0L)}}},
    {"x*ln(x)", 0.1L, 3, {{K::Minimum, 1 / std::exp(1.0L)}, {K::Zero, 1}}},
    {"lg(x)-1", 1, 20, {{K::Zero, 10}}},
    {"ln(x^2+1)", -3, 3, {{K::Inflection, -1}, {K::Zero, 0, true}, {K::Minimum, 0}, {K::Inflection, 1}}},
    {"x^0.5-1", 0, 4, {{K::Zero, 1}}},
    {"x^0.5", -1, 4, {{K::Zero, 0}}},
    {"1/x", -5, 5, {{K::Pole, 0}}},
    {"1/(x-2)", -5, 5, {{K::Pole, 2}}},
    {"1/x^2", -5, 5, {{K::Pole, 0}}},
    {"(x+1)/(x-1)", -5, 5, {{K::Zero, -1}, {K::Pole, 1}}},
    {"1/(x^2-1)", -3, 3, {{K::Pole, -1}, {K::Maximum, 0}, {K::Pole, 1}}},
    {"x/(x^2+1)", -5, 5, {{K::Inflection, -kSqrt3}, {K::Minimum, -1}, {K::Zero, 0}, {K::Inflection, 0}, {K::Maximum, 1}, {K::Inflection, kSqrt3}}},
    {"1/(x^2+1)", -3, 3, {{K::Inflection, -1 / kSqrt3}, {K::Maximum, 0}, {K::Inflection, 1 / kSqrt3}}},
    {"(x^2-1)/(x-1)", -3, 3, {{K::Zero, -1}}},
    {"abs(x-1)", -5, 5, {{K::Zero, 1, true}, {K::Minimum, 1}}},
    {"abs(x^2-4)", -5, 5, {{K::Zero, -2, true}, {K::Minimum, -2}, {K::Maximum, 0}, {K::Zero, 2, true}, {K::Minimum, 2}}},
    {"abs(x)-1", -5, 5, {{K::Zero, -1}, {K::Minimum, 0}, {K::Zero, 1}}},
    {"x*abs(x)", -5, 5, {{K::Zero, 0}, {K::Inflection, 0}}},
    {"x/abs(x)", -5, 5, {{K::Jump, 0}}},
    {"x mod 2", -5, 5, {{K::Jump, -4}, {K::Jump, -2}, {K::Zero, 0}, {K::Jump, 2}, {K::Jump, 4}}},
    {"2^x", -5, 5, {}},
};

// clang-format on

struct Crossing {
  const char* F;
  const char* G;
  long double From, To;
  std::vector<Expected> Points;
};

// clang-format off
const std::vector<Crossing> kCrossings = {
    {"x^2", "x+2", -5, 5, {{K::Intersection, -1}, {K::Intersection, 2}}},
    {"sin(x)", "cos(x)", -4, 4, {{K::Intersection, -3 * kPi / 4}, {K::Intersection, kPi / 4}, {K::Intersection, 5 * kPi / 4}}},
    {"x^3", "x", -2, 2, {{K::Intersection, -1}, {K::Intersection, 0}, {K::Intersection, 1}}},
    {"2^x", "x+1", -3, 3, {{K::Intersection, 0}, {K::Intersection, 1}}},
    {"ln(x)", "x-1", 0.2L, 3, {{K::Intersection, 1, true}}},
    {"1/x", "x", -3, 3, {{K::Intersection, -1}, {K::Intersection, 1}}},
    // Crossings at 0 are narrowed into the subnormal numbers, where rounding is coarser.
    {"x", "sin(pi*x/4)*3", -1.5L, 1.5L, {{K::Intersection, 0}}},
    {"sin(x)*2^x", "sin(pi*x/4)*3", -1.4L, 1.4L, {{K::Intersection, 0}}},
};
// clang-format on

// Significant digits in which x agrees with the exact value (absolute digits at 0).
double Digits(long double x, long double exact) {
  const long double error = std::fabs(x - exact) / (exact == 0 ? 1 : std::fabs(exact));
  return error == 0 ? 19.5 : static_cast<double>(-std::log10(error));
}

class CurvePrecision : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { SetRegionalDecimalSeparator('.'); }
  static void TearDownTestSuite() {
    std::printf("worst agreement: %.1f digits (simple points), %.1f digits (double zeros)\n",
                worstSimple_, worstDouble_);
  }

  static AnalysisFrame Frame(long double from, long double to) {
    return {from, to, -10, 10, 640, 480};
  }

  // The points found, without the y-intercept, against the expected ones in order.
  static void Compare(const std::string& what, const PointList& found,
                      const std::vector<Expected>& expected) {
    std::vector<CurvePoint> points;
    std::copy_if(found.Points.begin(), found.Points.end(), std::back_inserter(points),
                 [](const CurvePoint& p) { return p.Kind != K::YIntercept; });
    std::vector<Expected> want = expected;
    std::stable_sort(want.begin(), want.end(),
                     [](const Expected& a, const Expected& b) { return a.X < b.X; });
    ASSERT_EQ(points.size(), want.size()) << what;
    for (const Expected& e : want) {
      const auto match = std::min_element(points.begin(), points.end(),
                                          [&](const CurvePoint& a, const CurvePoint& b) {
                                            return (a.Kind != e.Kind) < (b.Kind != e.Kind) ||
                                                   ((a.Kind == e.Kind) == (b.Kind == e.Kind) &&
                                                    std::fabs(a.X - e.X) < std::fabs(b.X - e.X));
                                          });
      ASSERT_EQ(static_cast<int>(match->Kind), static_cast<int>(e.Kind)) << what;
      const double digits = Digits(match->X, e.X);
      (e.Double ? worstDouble_ : worstSimple_) =
          std::min(e.Double ? worstDouble_ : worstSimple_, digits);
      EXPECT_GE(digits, e.Double ? 12 : 15) << what << " at " << static_cast<double>(e.X);
      points.erase(match);
    }
  }

  static TQelParser Engine() {
    TQelParser engine;
    engine.SetConvertAllColonsAndDots(true);
    return engine;
  }

  static inline double worstSimple_ = 99, worstDouble_ = 99;
};

TEST_F(CurvePrecision, EveryPointOfEachFunctionAndNothingElse) {
  TQelParser engine = Engine();
  for (const Case& c : kFunctions) {
    const AnalysisFrame frame = Frame(c.From, c.To);
    SampledFunction f(engine, c.Expression, frame);
    const std::optional<PointList> found = AnalyseFunction(f, frame, {});
    ASSERT_TRUE(found);
    Compare(c.Expression, *found, c.Points);
  }
}

// A jet of a lower order holds the full jet's numbers; a power's exponent still tells whether it
// is constant, as -x^2 does not at 0.
TEST_F(CurvePrecision, LowerOrderJetsHoldTheFullJetsNumbers) {
  TQelParser engine = Engine();
  const auto same = [](long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; };
  for (const Case& c : kFunctions) {
    DifferentiatedFunction f(engine, c.Expression);
    for (const long double x : {-1.5L, 0.0L, 0.3L, 2.0L}) {
      const Jet full = f.At(x);
      const bool plain = f.Plain();
      for (int order = 0; order < 3; ++order) {
        const Jet low = f.At(x, order);
        EXPECT_EQ(f.Plain(), plain) << c.Expression;
        for (int k = 0; k <= order; ++k) {
          EXPECT_TRUE(same(low.Order(k), full.Order(k)) && same(low.M[k], full.M[k]))
              << c.Expression << " order " << order << " at " << static_cast<double>(x);
        }
      }
    }
  }
}

// The jets reduce trigonometric arguments themselves: every quadrant, both signs, next to
// multiples of pi/2 and on both sides of the bound where the library's reduction takes over.
TEST_F(CurvePrecision, TrigonometricJetsAgreeWithTheLibrary) {
  TQelParser engine = Engine();
  DifferentiatedFunction sine(engine, "sin(x)"), cosine(engine, "cos(x)"),
      tangent(engine, "tan(x)");
  const auto near = [](long double got, long double want) {
    return std::fabs(got - want) <= 4 * LDBL_EPSILON * std::fabs(want) + 1e-30L;
  };
  for (const long double x : {0.5L, 0.8L, 2.0L, 3.14159265358979323851L, 4.0L, 5.5L, -0.8L, -2.5L,
                              -4.712388980384689857L, 100.3L, -1e5L, 1048575.5L, 3e6L}) {
    long double s = 0, c = 0;
    sincosl(x, &s, &c);
    const long double t = tanl(x);
    EXPECT_TRUE(near(sine.At(x, 1).V, s) && near(sine.At(x, 1).D1, c)) << static_cast<double>(x);
    EXPECT_TRUE(near(cosine.At(x, 1).V, c) && near(cosine.At(x, 1).D1, -s))
        << static_cast<double>(x);
    EXPECT_TRUE(near(tangent.At(x, 1).V, t) && near(tangent.At(x, 1).D1, 1 + t * t))
        << static_cast<double>(x);
  }
}

TEST_F(CurvePrecision, EveryCrossingOfEachPairAndNothingElse) {
  TQelParser engine = Engine();
  for (const Crossing& c : kCrossings) {
    const AnalysisFrame frame = Frame(c.From, c.To);
    SampledFunction f(engine, c.F, frame), g(engine, c.G, frame);
    const std::optional<PointList> found = Intersections(f, g, {});
    ASSERT_TRUE(found);
    Compare(std::string(c.F) + " / " + c.G, *found, c.Points);
  }
}

}  // namespace

struct Bound {
  const char* Expression;
  size_t Points;
  bool More;
  std::optional<long double> YIntercept;
};

// More points than a reader can use end at the limit with a count of the rest; the y-intercept
// is f(0) where f has a value there.
TEST_F(CurvePrecision, ListsAreBoundedAndHoldTheYIntercept) {
  const std::vector<Bound> cases = {
      {"sin(1000*x)", kMaxPoints + 1, true, 0},
      {"sin(100*x)", kMaxPoints + 1, true, 0},
      {"x^2-3", 4, false, -3},
      {"0", 1, false, 0},
      {"ln(x)", 1, false, std::nullopt},
  };
  TQelParser engine = Engine();
  const AnalysisFrame frame = Frame(-10, 10);
  for (const Bound& c : cases) {
    SampledFunction f(engine, c.Expression, frame);
    const std::optional<PointList> found = AnalyseFunction(f, frame, {});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Points.size(), c.Points) << c.Expression;
    EXPECT_EQ(found->More > 0, c.More) << c.Expression;
    const auto y = std::find_if(found->Points.begin(), found->Points.end(),
                                [](const CurvePoint& p) { return p.Kind == K::YIntercept; });
    EXPECT_EQ(y != found->Points.end(), c.YIntercept.has_value()) << c.Expression;
    if (y != found->Points.end() && c.YIntercept) {
      EXPECT_EQ(*y->Y, *c.YIntercept) << c.Expression;
    }
  }
}

TEST_F(CurvePrecision, AStopRequestEndsTheAnalysis) {
  TQelParser engine = Engine();
  ProjectDocument project;
  project.Functions = {{"1", "sin(x)"}, {"2", "x"}};
  int asked = 0;
  const ProjectPoints points =
      AnalyseProject(project, engine, std::nullopt, [&] { return ++asked > 3; });
  EXPECT_TRUE(points.Cancelled);
  EXPECT_TRUE(points.Lists.empty());
}
