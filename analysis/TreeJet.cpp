#include "analysis/TreeJet.h"

#include <algorithm>
#include <cfenv>
#include <cfloat>
#include <charconv>
#include <cmath>

namespace {

// std::fmax as glibc takes it, without the call: the first where neither is larger, the other
// where one is not-a-number.
long double Larger(long double a, long double b) {
  return a >= b || std::isnan(b) ? a : b;
}

// A product that is 0 when either factor is, as the engine multiplies: 0 * inf stays 0.
long double Times(long double a, long double b) {
  return a == 0 || b == 0 ? 0.0L : a * b;
}

// The functions below take N, the highest derivative they compute: each order is computed from
// the lower ones alone, the same way whatever N is, so that a jet of a lower order holds the same
// numbers as the full one. The orders above N are left 0.

// f(u) from f and its derivatives at u.V, by the chain rule up to order N, on the components or
// on their sizes.
template <int N>
void ChainOrders(const long double* u, const long double* f, long double* out) {
  if constexpr (N >= 1) out[1] = Times(f[1], u[1]);
  if constexpr (N >= 2) out[2] = Times(f[2], u[1] * u[1]) + Times(f[1], u[2]);
  if constexpr (N >= 3) {
    out[3] = Times(f[3], u[1] * u[1] * u[1]) + Times(3 * f[2], u[1] * u[2]) + Times(f[1], u[3]);
  }
}

template <int N>
Jet Chain(const Jet& u, long double f0, long double f1, long double f2, long double f3) {
  const long double d[4] = {u.V, u.D1, u.D2, u.D3};
  const long double f[4] = {f0, f1, f2, f3};
  const long double sizes[4] = {std::fabs(f0), std::fabs(f1), std::fabs(f2), std::fabs(f3)};
  long double out[4] = {f0, 0, 0, 0}, m[4] = {0, 0, 0, 0};
  ChainOrders<N>(d, f, out);
  ChainOrders<N>(u.M, sizes, m);
  // The value inherits the rounding of its argument through the slope.
  m[0] = Larger(sizes[0], Times(sizes[1], u.M[0]));
  return {f0, out[1], out[2], out[3], {m[0], m[1], m[2], m[3]}};
}

template <int N>
Jet Sum(const Jet& a, const Jet& b, long double sign) {
  Jet j{a.V + sign * b.V, 0, 0, 0, {a.M[0] + b.M[0], 0, 0, 0}};
  if constexpr (N >= 1) {
    j.D1 = a.D1 + sign * b.D1;
    j.M[1] = a.M[1] + b.M[1];
  }
  if constexpr (N >= 2) {
    j.D2 = a.D2 + sign * b.D2;
    j.M[2] = a.M[2] + b.M[2];
  }
  if constexpr (N >= 3) {
    j.D3 = a.D3 + sign * b.D3;
    j.M[3] = a.M[3] + b.M[3];
  }
  return j;
}

// The Leibniz rule up to order N.
template <int N>
void ProductOrders(const long double* a, const long double* b, long double* out) {
  out[0] = Times(a[0], b[0]);
  if constexpr (N >= 1) out[1] = Times(a[1], b[0]) + Times(a[0], b[1]);
  if constexpr (N >= 2) out[2] = Times(a[2], b[0]) + 2 * Times(a[1], b[1]) + Times(a[0], b[2]);
  if constexpr (N >= 3) {
    out[3] = Times(a[3], b[0]) + 3 * Times(a[2], b[1]) + 3 * Times(a[1], b[2]) + Times(a[0], b[3]);
  }
}

template <int N>
Jet Product(const Jet& a, const Jet& b) {
  const long double da[4] = {a.V, a.D1, a.D2, a.D3}, db[4] = {b.V, b.D1, b.D2, b.D3};
  long double out[4] = {0, 0, 0, 0};
  Jet j;
  ProductOrders<N>(da, db, out);
  ProductOrders<N>(a.M, b.M, j.M);
  j.V = out[0], j.D1 = out[1], j.D2 = out[2], j.D3 = out[3];
  return j;
}

template <int N>
Jet Reciprocal(const Jet& u) {
  const long double r = 1 / u.V;
  return Chain<N>(u, r, -r * r, 2 * r * r * r, -6 * r * r * r * r);
}

bool IsConstant(const Jet& a) {
  return a.D1 == 0 && a.D2 == 0 && a.D3 == 0;
}

// u^c for a constant c: c (c-1) ... (c-k+1) u^(c-k), with no power taken where the factor is 0,
// so that x^2 has the derivatives 2x, 2 and 0 at x = 0 too, nor where the power is u^1 or u^0,
// which pow gives exactly as u and 1. The value's rounding needs the slope.
template <int N>
Jet ConstantPower(const Jet& u, long double c) {
  long double f[4] = {0, 0, 0, 0};
  long double falling = 1;
  for (int k = 0; k <= std::max(N, 1); ++k) {
    const long double e = c - k;
    f[k] = falling == 0 ? 0.0L : falling * (e == 0 ? 1.0L : (e == 1 ? u.V : std::pow(u.V, e)));
    falling *= c - k;
  }
  return Chain<N>(u, f[0], f[1], f[2], f[3]);
}

template <int N>
Jet Exp(const Jet& u) {
  const long double e = std::exp(u.V);
  return Chain<N>(u, e, e, e, e);
}

template <int N>
Jet Log(const Jet& u, long double divisor) {
  const long double r = 1 / u.V;
  return Chain<N>(u, std::log(u.V) / divisor, r / divisor, -r * r / divisor,
                  2 * r * r * r / divisor);
}

// The exponent comes with all its orders (Step::Full), which tell whether it is constant.
template <int N>
Jet Power(const Jet& base, const Jet& exponent) {
  return IsConstant(exponent) ? ConstantPower<N>(base, exponent.V)
                              : Exp<N>(Product<N>(exponent, Log<N>(base, 1)));
}

// The engine's remainder a - trunc(a / b) * b, with its quotient held where it is whole.
template <int N>
Jet Remainder(const Jet& a, const Jet& b) {
  if (b.V == 0) return {};
  const long double q = a.V / b.V;
  if (!std::isfinite(q)) return a;
  const long double k = std::trunc(q);
  return Sum<N>(a, Product<N>({k, 0, 0, 0, {std::fabs(k), 0, 0, 0}}, b), -1);
}

template <int N>
Jet Operator(NodeKind kind, const Jet& l, const Jet& r) {
  switch (kind) {
    case NodeKind::Add:
      return Sum<N>(l, r, 1);
    case NodeKind::Subtract:
      return Sum<N>(l, r, -1);
    case NodeKind::Multiply:
      return Product<N>(l, r);
    case NodeKind::Divide:
      return Product<N>(l, Reciprocal<N>(r));
    case NodeKind::Mod:
      return Remainder<N>(l, r);
    default:
      return Power<N>(l, r);
  }
}

// glibc reduces every long-double argument of sinl, cosl and tanl beyond pi/4 by its general
// many-word method, about a tenth of the analysis's time. Within the ranges a plot uses, three
// words of pi/2 give the remainder to about 2^-130, far below a last bit of the argument; beyond
// that bound the library's own reduction is used.
struct Quadrant {
  long double Hi = 0, Lo = 0;  // the remainder, as a sum of two
  long long Index = 0;         // which multiple of pi/2 was taken away, modulo 4
};

bool ReduceByHalfPi(long double v, Quadrant& q) {
  // The first two words carry 43 bits, so their products with a multiple below 2^21 are exact.
  constexpr long double kWord1 = 0x6487ed5110bp-42L, kWord2 = 0x4611a626331p-86L,
                        kWord3 = 0x8b80dc1cd129024ep-151L, kTwoOverPi = 0xa2f9836e4e441529p-64L;
  if (!(std::fabs(v) < 0x1p20L)) return false;
  // The multiple is taken in the current rounding mode; any neighbour of the nearest serves.
  const auto n = static_cast<long double>(std::llrint(v * kTwoOverPi));
  const long double t = v - n * kWord1, w = n * kWord2, hi = t - w;
  const long double bt = hi - t, error = (t - (hi - bt)) - (w + bt);
  const long double tail = error - n * kWord3;
  q.Hi = hi + tail;
  q.Lo = tail - (q.Hi - hi);
  q.Index = static_cast<long long>(n) & 3;
  return true;
}

void SineCosine(long double v, long double& s, long double& c) {
  Quadrant q;
  if (!ReduceByHalfPi(v, q)) return sincosl(v, &s, &c);
  long double rs = 0, rc = 0;
  sincosl(q.Hi, &rs, &rc);
  const long double fs = rs + rc * q.Lo, fc = rc - rs * q.Lo;
  const long double sines[4] = {fs, fc, -fs, -fc}, cosines[4] = {fc, -fs, -fc, fs};
  s = sines[q.Index];
  c = cosines[q.Index];
}

long double Tangent(long double v) {
  Quadrant q;
  if (!ReduceByHalfPi(v, q)) return std::tan(v);
  const long double r = std::tan(q.Hi), t = r + q.Lo * (1 + r * r);
  return q.Index % 2 == 0 ? t : -1 / t;
}

template <int N>
Jet Function(NodeKind kind, const Jet& u) {
  static const long double kLn10 = std::log(10.0L);
  const long double v = u.V;
  switch (kind) {
    case NodeKind::Sin: {
      long double s = 0, c = 0;
      SineCosine(v, s, c);
      return Chain<N>(u, s, c, -s, -c);
    }
    case NodeKind::Cos: {
      long double s = 0, c = 0;
      SineCosine(v, s, c);
      return Chain<N>(u, c, -s, -c, s);
    }
    case NodeKind::Tan: {
      const long double t = Tangent(v), d = 1 + t * t;
      return Chain<N>(u, t, d, 2 * t * d, d * (2 + 6 * t * t));
    }
    case NodeKind::Ln:
      return Log<N>(u, 1);
    case NodeKind::Lg:
      return Log<N>(u, kLn10);
    case NodeKind::Abs: {
      const long double s = v > 0 ? 1.0L : (v < 0 ? -1.0L : 0.0L);
      return {std::fabs(v), s * u.D1, s * u.D2, s * u.D3, {u.M[0], u.M[1], u.M[2], u.M[3]}};
    }
    default:
      return {};
  }
}

bool IsFunction(NodeKind kind) {
  return kind >= NodeKind::Sin;
}

// Values within this bound stay in the range of the engine's double computations.
constexpr long double kPlainLimit = 1e300L;

// Whether a value is clear of 0 by more than the engine's own rounding (it takes powers and
// trigonometric functions in double precision) could take away, and above the double range's
// smallest numbers, which the engine's powers make 0.
bool ClearOfZero(const Jet& u) {
  return std::fabs(u.V) > Larger(1e-290L, 1e-12L * u.M[0]);
}

// Whether the engine takes a function of this argument without raising (Plain).
bool PlainArgument(NodeKind kind, const Jet& u) {
  switch (kind) {
    case NodeKind::Sin:
    case NodeKind::Cos:
    case NodeKind::Tan:
      return std::fabs(u.V) < 0x1p52L;
    case NodeKind::Ln:
    case NodeKind::Lg:
      return u.V > 0 && ClearOfZero(u);
    case NodeKind::Abs:
      return true;
    default:
      return false;
  }
}

// Whether the engine takes an operator of these operands without raising (Plain); the size of
// the result is checked apart.
bool PlainOperands(NodeKind kind, const Jet& l, const Jet& r) {
  if (kind == NodeKind::Divide) return ClearOfZero(r);
  if (kind != NodeKind::Power || (l.V > 0 && ClearOfZero(l))) return true;
  const bool whole = IsConstant(r) && std::trunc(r.V) == r.V;
  return whole && (r.V > 0 || ClearOfZero(l));
}

}  // namespace

std::string ExactText(long double x) {
  char text[64];
  const std::to_chars_result end = std::to_chars(text, text + sizeof text, x);
  return std::string(text, end.ptr);
}

DifferentiatedFunction::DifferentiatedFunction(const TQelParser& engine,
                                               const std::string& expression, PowerRule powerRule)
    : root_(std::make_shared<QelTreeRoot>()), engine_(root_, powerRule) {
  engine_.SetPrecision(engine.Precision());
  engine_.SetA(engine.A());
  engine_.SetB(engine.B());
  engine_.SetC(engine.C());
  engine_.SetD(engine.D());
  engine_.SetOverwriteDecimalSymbol(engine.OverwriteDecimalSymbol());
  engine_.SetConvertAllColonsAndDots(engine.ConvertAllColonsAndDots());
  engine_.SetFaultChecking(engine.FaultChecking());
  engine_.SetExpression(expression);
  built_ = engine_.CreateTree();
  readingMemo_ = engine_.ReadVariable("0").Memo;
  if (!built_) return;
  // The first evaluation lays out the steps, whose kinds are the engine's reading of the tree.
  EngineValue(0);
  for (const EvalStep& step : root_->Steps) {
    long double constant = 0;
    if (step.Kind == NodeKind::Leaf) constant = StrToLongDoubleOr(engine_, step.Node->Text, NAN);
    steps_.push_back({step.Kind, constant, false});
  }
  MarkExponents();
  stack_.resize(steps_.size());
}

std::optional<long double> DifferentiatedFunction::EngineValue(long double x) {
  if (!built_) return std::nullopt;
  // The text reads back to x exactly, so its value need not be read from it.
  LeafMemo memo = readingMemo_;
  memo.Value = x;
  engine_.SetX(VariableReading{ExactText(x), memo});
  try {
    const long double value = engine_.EvaluateValue();
    if (std::isnan(value)) return std::nullopt;
    return value;
  } catch (const EngineError&) {
    return std::nullopt;
  }
}

void DifferentiatedFunction::EngineValues(const std::vector<VariableReading>& xs,
                                          std::vector<long double>& values) {
  values.assign(xs.size(), NAN);
  if (!built_ || xs.empty()) return;
  const std::unique_ptr<bool[]> failed(new bool[xs.size()]);
  engine_.EvaluateAt(xs.data(), xs.size(), values.data(), failed.get());
  for (size_t i = 0; i < xs.size(); ++i) {
    if (failed[i]) values[i] = NAN;
  }
}

void DifferentiatedFunction::MarkExponents() {
  // Where each operand on the stack began; an operator's right operand was laid out first.
  std::vector<size_t> starts;
  for (size_t i = 0; i < steps_.size(); ++i) {
    const NodeKind kind = steps_[i].Kind;
    if (kind == NodeKind::Leaf || kind == NodeKind::VariableX) {
      starts.push_back(i);
    } else if (!IsFunction(kind) && starts.size() >= 2) {
      const size_t left = starts.back();
      starts.pop_back();
      if (kind != NodeKind::Power) continue;
      for (size_t k = starts.back(); k < left; ++k) steps_[k].Full = true;
    }
  }
}

Jet DifferentiatedFunction::At(long double x, int order) {
  switch (order) {
    case 0:
      return AtOrder<0>(x);
    case 1:
      return AtOrder<1>(x);
    case 2:
      return AtOrder<2>(x);
    default:
      return AtOrder<3>(x);
  }
}

template <int N>
Jet DifferentiatedFunction::AtOrder(long double x) {
  Jet* top = stack_.data();
  bool plain = !steps_.empty();
  for (const Step& step : steps_) {
    if (step.Kind == NodeKind::Leaf) {
      *top++ = {step.Constant, 0, 0, 0, {std::fabs(step.Constant), 0, 0, 0}};
    } else if (step.Kind == NodeKind::VariableX) {
      *top++ = {x, 1, 0, 0, {std::fabs(x), 1, 0, 0}};
    } else if (IsFunction(step.Kind)) {
      plain = plain && PlainArgument(step.Kind, top[-1]);
      top[-1] = step.Full ? Function<3>(step.Kind, top[-1]) : Function<N>(step.Kind, top[-1]);
    } else {
      const Jet& l = *--top;
      plain = plain && PlainOperands(step.Kind, l, top[-1]);
      top[-1] = step.Full ? Operator<3>(step.Kind, l, top[-1]) : Operator<N>(step.Kind, l, top[-1]);
    }
    plain = plain && std::fabs(top[-1].V) <= kPlainLimit;
  }
  plain_ = plain;
  // The faults this raised are none of the engine's next evaluation.
  constexpr int kFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
  if (std::fetestexcept(kFaults) != 0) std::feclearexcept(kFaults);
  if (steps_.empty()) return Jet{NAN, NAN, NAN, NAN, {0, 0, 0, 0}};
  Jet jet = top[-1];
  // The orders not computed are none to go by.
  if constexpr (N < 1) jet.D1 = NAN;
  if constexpr (N < 2) jet.D2 = NAN;
  if constexpr (N < 3) jet.D3 = NAN;
  return jet;
}
