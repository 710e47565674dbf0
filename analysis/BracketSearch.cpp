#include "analysis/BracketSearch.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

static_assert(LDBL_MANT_DIG == 64, "the bit order below counts 64-bit significands");

using Key = __int128;
constexpr Key kSignificandSpan = static_cast<Key>(1) << 63;
// More than the 2^81 patterns of the finite long doubles can take, for a bracket with no
// derivative to go by and a few Newton steps that do not pay.
constexpr int kMaxSteps = 200;
// A bracket this far from the sampled values is a pole, not a steep stretch of the curve.
constexpr long double kPoleGrowth = 1e6L;
// A bracket this many times narrower with no less change across it holds a break.
constexpr long double kBreakShrink = 1e3L;

// The x87 extended format: the significand with its explicit leading bit, then sign and exponent.
struct Extended {
  uint64_t Significand;
  uint16_t SignExponent;
};
static_assert(sizeof(long double) >= sizeof(Extended), "an x87 extended long double");

// The finite long doubles numbered in order, neighbours by neighbouring numbers, 0 at zero: the
// biased exponent counts spans of 2^63 above the subnormals, whose significands count up to the
// first span.
Key KeyOf(long double x) {
  Extended bits{};
  std::memcpy(&bits, &x, sizeof bits);
  const int biased = bits.SignExponent & 0x7fff;
  const Key key = static_cast<Key>(std::max(biased - 1, 0)) * kSignificandSpan +
                  static_cast<Key>(bits.Significand);
  return (bits.SignExponent & 0x8000) != 0 ? -key : key;
}

long double FromKey(Key key) {
  const bool negative = key < 0;
  const Key k = negative ? -key : key;
  const auto span = static_cast<int>(k / kSignificandSpan);
  const auto rest = static_cast<uint64_t>(k % kSignificandSpan);
  // Above the subnormals the span is the biased exponent and the leading bit is set.
  const Extended bits{span == 0 ? rest : rest | (1ULL << 63),
                      static_cast<uint16_t>(span | (negative ? 0x8000 : 0))};
  long double x = 0;
  std::memcpy(&x, &bits, sizeof bits);
  return x;
}

int SignOf(long double v) {
  return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

// The first share of its own length by which a Newton step is carried past the zero.
constexpr long double kFirstOvershoot = 0x1p-8L;

// The end whose component is nearer 0.
const Probe& Nearer(const Probe& lo, const Probe& hi, int order) {
  return std::fabs(lo.J.Order(order)) <= std::fabs(hi.J.Order(order)) ? lo : hi;
}

// A Newton step towards the zero from the better end, carried past it by a share of its length,
// so that the probe lands on the other side and the bracket closes from both ends.
std::optional<long double> NewtonStep(const Probe& lo, const Probe& hi, int order,
                                      long double overshoot) {
  const Probe& from = Nearer(lo, hi, order);
  const long double slope = from.J.Order(order + 1);
  if (!std::isfinite(slope) || slope == 0) return std::nullopt;
  const long double step = from.J.Order(order) / slope;
  const long double x = from.X - step * (1 + overshoot);
  if (!(x > lo.X && x < hi.X)) return std::nullopt;
  return x;
}

}  // namespace

std::optional<long double> BitMidpoint(long double a, long double b) {
  const Key ka = KeyOf(a), kb = KeyOf(b);
  if (kb - ka <= 1) return std::nullopt;
  return FromKey(ka + (kb - ka) / 2);
}

bool Continuous(const Probe& a, const Probe& b, int order) {
  const long double change = std::fabs(b.J.Order(order) - a.J.Order(order));
  const long double slope =
      std::fmax(std::fabs(a.J.Order(order + 1)), std::fabs(b.J.Order(order + 1)));
  // A slope beyond the range explains nothing.
  return (std::isfinite(slope) && change <= 4 * slope * std::fabs(b.X - a.X)) ||
         Jet::WithinRounding(change, 16 * std::fmax(a.J.M[order], b.J.M[order]));
}

bool GrewWithoutBound(const Probe& a, const Probe& b, long double sampled) {
  return std::fmax(std::fabs(a.J.V), std::fabs(b.J.V)) > kPoleGrowth * std::fmax(1, sampled);
}

std::optional<Narrowed> NarrowSignChange(const Evaluator& at, int order, Probe lo, Probe hi,
                                         bool breaks, const BracketTest& holds) {
  const int loSign = SignOf(lo.J.Significant(order));
  const long double width = hi.X - lo.X;
  const long double change = std::fabs(hi.J.Order(order) - lo.J.Order(order));
  bool newton = true;
  // Newton's error shrinks with the square of the step, so each step that closed the bracket lets
  // the next one be carried less far past the zero: the bracket then closes as fast as Newton
  // converges instead of by a constant share.
  long double overshoot = kFirstOvershoot;
  for (int step = 0; step < kMaxSteps; ++step) {
    if (!breaks && (hi.X - lo.X) * kBreakShrink < width &&
        std::fabs(hi.J.Order(order) - lo.J.Order(order)) > change / 2) {
      return std::nullopt;
    }
    const std::optional<long double> guess =
        newton ? NewtonStep(lo, hi, order, overshoot) : std::nullopt;
    const std::optional<long double> x = guess ? guess : BitMidpoint(lo.X, hi.X);
    if (!x) break;
    // Newton's step needs the next order.
    const Probe p = at(*x, std::min(order + 1, 3));
    if (!p.Defined || std::isnan(p.J.Order(order))) return Narrowed{lo, p, true};
    const long double g = p.J.Significant(order);
    if (g == 0) return Narrowed{p, p, false};
    const Key before = KeyOf(hi.X) - KeyOf(lo.X);
    const bool crossed = guess && SignOf(g) != SignOf(Nearer(lo, hi, order).J.Significant(order));
    overshoot = crossed ? std::fmax(16 * overshoot * overshoot, LDBL_EPSILON) : kFirstOvershoot;
    (SignOf(g) == loSign ? lo : hi) = p;
    if (holds && !holds(lo, hi)) return std::nullopt;
    newton = !guess || 2 * (KeyOf(hi.X) - KeyOf(lo.X)) <= before;
  }
  return Narrowed{lo, hi, false};
}

std::optional<Narrowed> NarrowJump(const Evaluator& at, Probe lo, Probe hi) {
  for (int step = 0; step < kMaxSteps; ++step) {
    if (Continuous(lo, hi)) return std::nullopt;
    const std::optional<long double> x = BitMidpoint(lo.X, hi.X);
    if (!x) break;
    const Probe p = at(*x, 1);
    if (!p.Defined) return Narrowed{lo, p, true};
    (std::fabs(p.J.V - lo.J.V) >= std::fabs(hi.J.V - p.J.V) ? hi : lo) = p;
  }
  return Narrowed{lo, hi, false};
}

Probe DomainEdge(const Evaluator& at, Probe defined, Probe undefined) {
  // Only whether the probes have a value counts until the edge is found.
  bool moved = false;
  for (int step = 0; step < kMaxSteps; ++step) {
    const bool rising = defined.X < undefined.X;
    const std::optional<long double> x =
        rising ? BitMidpoint(defined.X, undefined.X) : BitMidpoint(undefined.X, defined.X);
    if (!x) break;
    const Probe p = at(*x, 0);
    (p.Defined ? defined : undefined) = p;
    moved = moved || p.Defined;
  }
  return moved ? at(defined.X, 1) : defined;
}
