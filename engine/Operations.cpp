// The functions, the power and mod of a node, with their domain checks and fault readings.
#include "engine/Operations.h"

#include <cfloat>
#include <cmath>

namespace {

constexpr long double kTrigLimit = 9007199254740992.0L;  // 2^53
constexpr const char* kNegativeBase = "Kein negativer Ausdruck unter Wurzel erlaubt.";
constexpr const char* kLogDomain = "Log von X mit X <= 0";

bool IsWhole(long double r) {
  return !std::isnan(r) && std::truncl(r) == r;
}

// sin, cos and tan take their argument rounded to double; beyond 2^53 they give not-a-number.
long double Trig(double (*function)(double), long double v) {
  if (std::isgreaterequal(std::fabs(v), kTrigLimit)) return NAN;
  const double d = static_cast<double>(v);
  if (std::isgreaterequal(std::fabs(d), static_cast<double>(kTrigLimit))) return NAN;
  return function(d);
}

}  // namespace

int TQelParser::TakeFaultsUnlessDeferred() const {
  return ChecksDeferred_ ? 0 : TakeFaults();
}

bool TQelParser::Faulted(long double value) const {
  Materialise(value);
  return TakeFaultsUnlessDeferred() != 0;
}

long double TQelParser::EvalFunction(NodeKind kind, long double v) {
  switch (kind) {
    case NodeKind::Sin:
      return Checked(Trig(std::sin, v));
    case NodeKind::Cos:
      return Checked(Trig(std::cos, v));
    case NodeKind::Tan:
      return Checked(Trig(std::tan, v));
    case NodeKind::Ln:
      if (!std::isgreater(v, 0.0L)) throw EngineError(kLogDomain);
      return Checked(std::log(v));
    case NodeKind::Lg: {
      if (!std::isgreater(v, 0.0L)) throw EngineError(kLogDomain);
      static const long double kLn10 = std::log(10.0L);
      return Checked(std::log(v) / kLn10);
    }
    case NodeKind::Abs:
      return std::fabs(v);
    default:
      return 0;
  }
}

long double TQelParser::EvalPower(long double l, long double r) const {
  const bool checked = PowerRule_ == PowerRule::CheckNegativeBase;
  if (checked && std::isless(l, 0.0L) && !IsWhole(r)) throw EngineError(kNegativeBase);
  const double base = static_cast<double>(l);
  const double exponent = static_cast<double>(r);
  if ((std::isinf(base) && !std::isinf(l)) || (std::isinf(exponent) && !std::isinf(r))) {
    TakeFaultsUnlessDeferred();
    throw EngineError(checked ? kNegativeBase : "Floating point overflow");
  }
  const double power = std::pow(base, exponent);
  // Only an invalid operation is a fault of the power itself; range errors have fixed results.
  if ((TakeFaultsUnlessDeferred() & FE_INVALID) != 0 && checked) throw EngineError(kNegativeBase);
  if (std::isinf(power)) return INFINITY;
  // Zero and results below the double range are +0 whatever the base's sign: "-0" would be shown.
  if (std::isless(std::fabs(power), DBL_MIN)) return 0;
  return power;
}

long double TQelParser::modl(long double a, long double b) const {
  if (b == 0) return 0;
  const long double q = a / b;
  if (Faulted(q) || !std::isfinite(q)) return a;
  const long double result = a - std::truncl(q) * b;
  return Faulted(result) ? a : result;
}
