#pragma once

#include <cfloat>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/QelParser.h"

// A value with its first three derivatives in x, carried through the tree together (forward-mode
// automatic differentiation): exact derivatives, with only the rounding of each operation.
struct Jet {
  long double V = 0, D1 = 0, D2 = 0, D3 = 0;
  // For each order, the size of the terms that were added up to make it: the scale against which
  // a computed zero (a rounding remainder) is told from a value that is merely small.
  long double M[4] = {0, 0, 0, 0};

  // The value (order 0) or a derivative (orders 1 to 3).
  long double Order(int order) const {
    return order == 0 ? V : (order == 1 ? D1 : (order == 2 ? D2 : D3));
  }
  // The order's component where it is more than rounding, else 0.
  long double Significant(int order) const {
    const long double v = Order(order);
    return WithinRounding(v, M[order]) ? 0.0L : v;
  }
  // Whether a value is no more than what rounding leaves of terms of the given size; sizes beyond
  // the range say nothing about the rounding. Below the normal numbers the spacing of the numbers
  // stays that of the smallest normal one, and so does the rounding.
  static bool WithinRounding(long double value, long double size) {
    return std::isfinite(size) && std::fabs(value) <= kRoundingShare * std::fmax(size, LDBL_MIN);
  }
  // A component no larger than this share of its terms' size is what their rounding left over.
  static constexpr long double kRoundingShare = 64 * LDBL_EPSILON;
};

// One function of a project, ready to be evaluated as the engine evaluates it and differentiated
// along the engine's own tree. The engine decides where the function has a value; the jet gives the
// derivatives there, computed in the engine's extended precision.
class DifferentiatedFunction {
 public:
  // An engine with the settings and variables of `engine` over a tree of its own.
  DifferentiatedFunction(const TQelParser& engine, const std::string& expression,
                         PowerRule powerRule = PowerRule::CheckNegativeBase);

  // False when the expression is no expression (nothing has a value then).
  bool Built() const { return built_; }
  // The engine's value at x; nothing where the engine raises or gives no number.
  std::optional<long double> EngineValue(long double x);
  // The engine's value at each reading, all evaluated together; not-a-number where it has none.
  void EngineValues(const std::vector<VariableReading>& xs, std::vector<long double>& values);
  // The jet at x up to the derivative of the given order (the higher ones are not-a-number),
  // without asking the engine whether the function has a value there. The orders computed, the
  // value's rounding size M[0] and Plain are those of the full jet.
  Jet At(long double x, int order = 3);
  // Whether the last At met nothing at which the engine could raise or give no number: no
  // division by 0, no logarithm or non-whole power of a number below 0, no trigonometric argument
  // beyond the engine's range, no value beyond the double range. The engine has a value there then.
  bool Plain() const { return plain_; }

 private:
  struct Step {
    NodeKind Kind;
    long double Constant;
    // Whether its result is (part of) an exponent, whose derivatives tell whether it is constant:
    // computed to all orders then.
    bool Full;
  };
  void MarkExponents();
  template <int N>
  Jet AtOrder(long double x);
  std::shared_ptr<QelTreeRoot> root_;
  TQelParser engine_;
  bool built_ = false;
  // The separators this engine reads x with, for readings made from exact texts.
  LeafMemo readingMemo_;
  std::vector<Step> steps_;
  std::vector<Jet> stack_;
  bool plain_ = false;
};

// x as a text the engine reads back to exactly x.
std::string ExactText(long double x);
