#include "analysis/CurveAnalysis.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>
#include <utility>

#include "graph/GraphRenderer.h"

namespace {

// The samples' jets go up to f'', which tells the inflection candidates; only the searches of
// those take the third derivative (for Newton's step), and only at the candidates' ends.
constexpr int kSampleOrder = 2;
// Values that change by more than this many rows between two columns are sampled more finely.
constexpr long double kRowsPerSample = 2;
constexpr int kMaxSplit = 16;
// Extra samples a function may take, in columns of the frame.
constexpr size_t kExtraColumnsFactor = 8;

// In the precision of the numbers given (the screen values are doubles).
template <typename T>
int SignOf(T v) {
  return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

bool Visible(long double v, const AnalysisFrame& frame) {
  return v >= frame.YFrom && v <= frame.YTo;
}

// What a candidate between two samples is, by the sign change or break that made it.
enum class Lead : uint8_t { SignChange, Break, Edge, Hole, EndZero };

struct Candidate {
  Lead Kind;
  int Order = 0;
  Probe A, B;
  Probe Inside;  // a Hole's one sample without value
};

// Neighbours this close, relative to their size, leave a hole in the curve rather than a stretch
// without values.
constexpr long double kHoleWidth = 1e-12L;

// The scan of one curve's samples and the points its candidates turn out to be.
class Discussion {
 public:
  using EngineValue = std::function<std::optional<long double>(long double x)>;
  Discussion(const Evaluator& at, const EngineValue& value, std::vector<CurvePoint>& points)
      : at_(at), value_(value), points_(points) {}

  void SignChange(const Candidate& c) {
    Narrowed n =
        *NarrowSignChange(at_, c.Order, Raised(c.A, c.Order + 1), Raised(c.B, c.Order + 1));
    if (n.Gap) return Gap(n.Lo, n.Hi, c.B, Sampled(c));
    const std::optional<Probe> exact = n.Lo.X == n.Hi.X ? std::optional<Probe>(n.Lo) : std::nullopt;
    if (exact) n = Around(*exact);
    if (GrewWithoutBound(n.Lo, n.Hi, Sampled(c))) return Add(PointKind::Pole, n.Lo.X);
    if (!Continuous(n.Lo, n.Hi)) return Add(PointKind::Jump, n.Lo.X);
    const Probe& nearer =
        std::fabs(n.Lo.J.Order(c.Order)) <= std::fabs(n.Hi.J.Order(c.Order)) ? n.Lo : n.Hi;
    const Probe& p = exact ? *exact : nearer;
    if (c.Order == 0) return Add(PointKind::Zero, p.X, 0.0L);
    // A change of curvature at a kink is no inflection point.
    if (c.Order == 2) {
      if (Continuous(n.Lo, n.Hi, 1)) AddWithValue(PointKind::Inflection, p.X);
      return;
    }
    AddWithValue(c.A.J.Significant(1) > 0 ? PointKind::Maximum : PointKind::Minimum, p.X);
    if (p.J.Significant(0) == 0) Add(PointKind::Zero, p.X, 0.0L);
  }

  void Break(const Candidate& c) {
    const std::optional<Narrowed> n = NarrowJump(at_, c.A, c.B);
    if (!n) return;
    if (n->Gap) return Gap(n->Lo, n->Hi, c.B, Sampled(c));
    if (GrewWithoutBound(n->Lo, n->Hi, Sampled(c))) return Add(PointKind::Pole, n->Lo.X);
    if (!Continuous(n->Lo, n->Hi)) Add(PointKind::Jump, n->Lo.X);
  }

  void Edge(const Candidate& c) {
    const bool leftDefined = c.A.Defined;
    const Probe edge = DomainEdge(at_, leftDefined ? c.A : c.B, leftDefined ? c.B : c.A);
    EdgePoint(edge, Sampled(c));
  }

  void Hole(const Candidate& c) { Gap(c.A, c.Inside, c.B, Sampled(c)); }

  void EndZero(const Candidate& c) { Add(PointKind::Zero, c.A.X, 0.0L); }

 private:
  // A point where the sign change's component is exactly 0, with its neighbouring numbers as the
  // bracket's ends; a neighbour without value is taken as the point itself.
  Narrowed Around(const Probe& p) {
    Probe lo = at_(std::nextafter(p.X, -INFINITY), 3), hi = at_(std::nextafter(p.X, INFINITY), 3);
    return {lo.Defined ? lo : p, hi.Defined ? hi : p, false};
  }

  // A sample with its jet up to the order, the engine's say on its value kept.
  Probe Raised(const Probe& p, int order) {
    if (order <= kSampleOrder || !p.Defined) return p;
    Probe raised = p;
    raised.J = at_(p.X, order).J;
    return raised;
  }

  // The largest value of the candidate's samples that have one.
  static long double Sampled(const Candidate& c) {
    const long double a = c.A.Defined ? std::fabs(c.A.J.V) : 0.0L;
    return std::fmax(a, c.B.Defined ? std::fabs(c.B.J.V) : 0.0L);
  }

  // A stretch without values inside a bracket: a pole where the values grow towards it from both
  // sides, a jump where a hole parts different values, else whatever its edges are.
  void Gap(const Probe& lo, const Probe& inside, const Probe& hi, long double sampled) {
    const Probe left = DomainEdge(at_, lo, inside);
    const Probe right = DomainEdge(at_, hi, inside);
    const long double middle = left.X + (right.X - left.X) / 2;
    if (GrewWithoutBound(left, left, sampled) && GrewWithoutBound(right, right, sampled)) {
      return Add(PointKind::Pole, middle);
    }
    const bool hole = right.X - left.X <=
                      kHoleWidth * std::fmax(1, std::fmax(std::fabs(left.X), std::fabs(right.X)));
    if (hole && !Continuous(left, right)) return Add(PointKind::Jump, middle);
    EdgePoint(left, sampled);
    EdgePoint(right, sampled);
  }

  void EdgePoint(const Probe& edge, long double sampled) {
    if (GrewWithoutBound(edge, edge, sampled)) {
      Add(PointKind::Pole, edge.X);
    } else if (edge.J.Significant(0) == 0) {
      Add(PointKind::Zero, edge.X, 0.0L);
    }
  }

  void Add(PointKind kind, long double x, std::optional<long double> y = std::nullopt) {
    points_.push_back({kind, x, y});
  }

  // The point with the engine's value there, which the window and "Wert berechnen" show too.
  void AddWithValue(PointKind kind, long double x) {
    if (const std::optional<long double> y = value_(x)) Add(kind, x, *y);
  }

  const Evaluator& at_;
  const EngineValue& value_;
  std::vector<CurvePoint>& points_;
};

// The sign of a component where it is more than rounding (0 where it is not), or kNoValue.
constexpr int kNoValue = 2;

int SignificantSign(const Probe& p, int order) {
  return p.Defined ? SignOf(p.J.Significant(order)) : kNoValue;
}

// The sign changes of a component between samples with values: sign(i) for i below count as
// SignificantSign gives it, sample(i) the probe; a sample without value ends the search for a
// partner.
template <typename SignAt, typename Sample, typename Wanted>
void ScanSignChanges(size_t count, const SignAt& signAt, const Sample& sample, int order,
                     const Wanted& wanted, std::vector<Candidate>& out) {
  constexpr size_t kNone = static_cast<size_t>(-1);
  size_t last = kNone;
  int lastSign = 0;
  for (size_t i = 0; i < count; ++i) {
    const int sign = signAt(i);
    if (sign == kNoValue) {
      last = kNone;
      continue;
    }
    if (sign == 0) continue;
    if (last != kNone && sign != lastSign) {
      const Probe before = sample(last), p = sample(i);
      if (wanted(before, p)) out.push_back({Lead::SignChange, order, before, p, {}});
    }
    last = i;
    lastSign = sign;
  }
}

bool Opposite(const Probe& a, const Probe& b, int order) {
  return SignOf(a.J.Significant(order)) * SignOf(b.J.Significant(order)) < 0;
}

bool Always(const Probe&, const Probe&) {
  return true;
}

// Pairs of neighbouring samples that break off: a change of value no derivative explains where
// no sign change already leads there, single samples without value, and the edges of longer
// stretches without values.
void ScanBreaks(const std::vector<Probe>& samples, std::vector<Candidate>& out) {
  for (size_t i = 1; i < samples.size(); ++i) {
    const Probe& a = samples[i - 1];
    const Probe& b = samples[i];
    const bool hole = a.Defined && !b.Defined && i + 1 < samples.size() && samples[i + 1].Defined;
    const bool holeEnd = !a.Defined && b.Defined && i >= 2 && samples[i - 2].Defined;
    if (hole) {
      out.push_back({Lead::Hole, 0, a, samples[i + 1], b});
    } else if (a.Defined != b.Defined && !holeEnd) {
      out.push_back({Lead::Edge, 0, a, b, {}});
    } else if (a.Defined && !Opposite(a, b, 0) && !Opposite(a, b, 1) && !Continuous(a, b)) {
      out.push_back({Lead::Break, 0, a, b, {}});
    }
  }
  // A zero at an end of the range, unless the curve lies on the axis there.
  const auto endZero = [&out](const Probe& end, const Probe& next) {
    if (end.Defined && end.J.V == 0 && next.Defined && next.J.Significant(0) != 0) {
      out.push_back({Lead::EndZero, 0, end, end, {}});
    }
  };
  if (samples.size() >= 2) {
    endZero(samples.front(), samples[1]);
    endZero(samples.back(), samples[samples.size() - 2]);
  }
}

// Points of one kind closer than this share of the range are one point found twice.
bool SamePoint(const CurvePoint& a, const CurvePoint& b, long double width) {
  return a.Kind == b.Kind && std::fabs(a.X - b.X) <= 1e-10L * width;
}

using Handler = std::function<void(const Candidate&, std::vector<CurvePoint>&)>;

// Works off the candidates in order of x until kMaxPoints points are found; the candidates left
// count as further points, as do the points found beyond kMaxPoints.
std::optional<PointList> Discuss(std::vector<Candidate> candidates, long double width,
                                 const StopRequest& stop, const Handler& handle) {
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& a, const Candidate& b) { return a.A.X < b.A.X; });
  PointList list;
  std::vector<CurvePoint> found;
  size_t done = 0;
  for (; done < candidates.size() && found.size() < kMaxPoints; ++done) {
    if (stop && stop()) return std::nullopt;
    handle(candidates[done], found);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const CurvePoint& a, const CurvePoint& b) { return a.X < b.X; });
  for (const CurvePoint& p : found) {
    const bool twice = std::any_of(list.Points.rbegin(), list.Points.rend(),
                                   [&](const CurvePoint& k) { return SamePoint(k, p, width); });
    if (!twice) list.Points.push_back(p);
  }
  if (list.Points.size() > kMaxPoints) {
    list.More = list.Points.size() - kMaxPoints;
    list.Points.resize(kMaxPoints);
  }
  list.More += static_cast<size_t>(
      std::count_if(candidates.begin() + static_cast<std::ptrdiff_t>(done), candidates.end(),
                    [](const Candidate& c) { return c.Kind != Lead::Break; }));
  return list;
}

void DiscussCandidate(const Evaluator& at, const Discussion::EngineValue& value, const Candidate& c,
                      std::vector<CurvePoint>& points) {
  Discussion discussion(at, value, points);
  switch (c.Kind) {
    case Lead::SignChange:
      return discussion.SignChange(c);
    case Lead::Break:
      return discussion.Break(c);
    case Lead::Edge:
      return discussion.Edge(c);
    case Lead::Hole:
      return discussion.Hole(c);
    case Lead::EndZero:
      return discussion.EndZero(c);
  }
}

// Whether h may touch 0 between two probes where h' keeps its direction: the values are no further
// from 0 than the slopes could bring back, give or take `slack`.
bool WithinSlopesReach(const Probe& a, const Probe& b, long double slack) {
  const long double reach = (std::fabs(a.J.D1) + std::fabs(b.J.D1)) * (b.X - a.X) + slack;
  return std::fabs(a.J.V) <= reach && std::fabs(b.J.V) <= reach;
}

// Whether a sign change of h' between two samples could be a place where h touches 0.
bool MayTouch(const Probe& a, const Probe& b) {
  return WithinSlopesReach(a, b, 0);
}

// Whether a narrowed bracket of a touching may still reach 0, with the rounding that the last test
// of a touching allows.
bool MayStillTouch(const Probe& lo, const Probe& hi) {
  return WithinSlopesReach(
      lo, hi, 4 * Jet::kRoundingShare * std::fmax(std::fabs(lo.J.M[0]), std::fabs(hi.J.M[0])));
}

// A sign change of f - g (or of its slope, where it may touch 0) that is a crossing of f and g
// rather than a pole or a jump of one of them.
void Crossing(const Evaluator& at, SampledFunction& f, const Candidate& c,
              std::vector<CurvePoint>& points) {
  // Where f - g already breaks off between the columns, its sign change is that break.
  if (c.Order == 0 && !Continuous(c.A, c.B)) return;
  // A crossing is never a break of f - g, but a touching may be a kink of it.
  const std::optional<Narrowed> n = c.Order == 0
                                        ? NarrowSignChange(at, 0, c.A, c.B, false)
                                        : NarrowSignChange(at, 1, c.A, c.B, true, MayStillTouch);
  const long double sampled = std::fmax(std::fabs(c.A.J.V), std::fabs(c.B.J.V));
  if (!n || n->Gap || GrewWithoutBound(n->Lo, n->Hi, sampled) || !Continuous(n->Lo, n->Hi)) return;
  const Probe& p = std::fabs(n->Lo.J.V) <= std::fabs(n->Hi.J.V) ? n->Lo : n->Hi;
  if (c.Order == 1 && p.J.Significant(0) != 0) return;
  if (const std::optional<long double> y = f.Function().EngineValue(p.X)) {
    points.push_back({PointKind::Intersection, p.X, *y});
  }
}

long double ColumnValue(const AnalysisFrame& frame, size_t i) {
  // The last column is the range's end itself: computed, it can round past it.
  if (i > 0 && i >= static_cast<size_t>(frame.Columns)) return frame.XTo;
  return frame.XFrom + (frame.XTo - frame.XFrom) * static_cast<long double>(i) /
                           static_cast<long double>(frame.Columns);
}

// Columns whose jets a scan needs, each with kMargin columns either side.
class ColumnMarks {
 public:
  explicit ColumnMarks(size_t count) : marked_(count, false) {}
  void Mark(size_t from, size_t to, size_t margin = kMargin) {
    const size_t first = from > margin ? from - margin : 0;
    const size_t last = std::min(marked_.size() - 1, to + margin);
    std::fill(marked_.begin() + static_cast<std::ptrdiff_t>(first),
              marked_.begin() + static_cast<std::ptrdiff_t>(last) + 1, true);
  }
  std::vector<size_t> Marked() const {
    std::vector<size_t> columns;
    for (size_t i = 0; i < marked_.size(); ++i) {
      if (marked_[i]) columns.push_back(i);
    }
    return columns;
  }

 private:
  // A sign change of f' or f'' shows in the differences of the values within two columns of it.
  static constexpr size_t kMargin = 3;
  std::vector<bool> marked_;
};

// The engine computes some functions in double precision: differences of its values this small
// against the values say nothing of the sign of a derivative.
constexpr long double kValueNoise = 1e-12L;

template <typename T>
bool SignInDoubt(T a, T b, T noise) {
  return std::fabs(a) <= noise || std::fabs(b) <= noise || SignOf(a) != SignOf(b);
}

// Whether the jets could find the values between two columns changing fast (FineSamples), with
// room for the engine's rounding.
bool MayBeFast(long double a, long double b, const AnalysisFrame& frame, long double row) {
  const long double slack = 1e-6L * row;
  const auto nearlyVisible = [&](long double v) {
    return v >= frame.YFrom - slack && v <= frame.YTo + slack;
  };
  return std::fabs(b - a) + slack > kRowsPerSample * row && (nearlyVisible(a) || nearlyVisible(b));
}

// The columns whose jets can tell more than their neighbours': those where the engine's values,
// their differences or their second differences change sign or are too small to tell, where a
// value is missing or 0, where the values change fast, and the ends. Between them f, f' and f''
// keep their signs, so f' is monotonic there and no change of value breaks off.
std::vector<size_t> TellingColumns(SampledFunction& f, const AnalysisFrame& frame) {
  const size_t n = f.Count();
  if (n == 0) return {};
  ColumnMarks marks(n);
  marks.Mark(0, 0);
  marks.Mark(n - 1, n - 1);
  const long double row = (frame.YTo - frame.YFrom) / std::max(frame.Rows, 1);
  for (size_t i = 0; i < n; ++i) {
    const long double v = f.Value(i);
    if (!std::isfinite(v) || v == 0) marks.Mark(i, i);
    if (i + 1 == n) continue;
    const long double next = f.Value(i + 1);
    if (SignOf(v) != SignOf(next) || MayBeFast(v, next, frame, row)) marks.Mark(i, i + 1);
    if (i == 0 || i + 2 >= n) continue;
    const long double a = f.Value(i - 1), d = f.Value(i + 2);
    const long double d1 = v - a, d2 = next - v, d3 = d - next;
    const long double noise =
        kValueNoise * (std::fabs(a) + std::fabs(v) + std::fabs(next) + std::fabs(d));
    if (!std::isfinite(noise) || SignInDoubt(d1, d2, noise) ||
        SignInDoubt(d2 - d1, d3 - d2, noise)) {
      marks.Mark(i - 1, i + 2);
    }
  }
  return marks.Marked();
}

// The samples at the telling columns with more between neighbours whose visible values change
// fast.
std::vector<Probe> FineSamples(SampledFunction& f, const AnalysisFrame& frame,
                               const std::vector<size_t>& columns) {
  const long double row = (frame.YTo - frame.YFrom) / std::max(frame.Rows, 1);
  size_t budget = kExtraColumnsFactor * f.Count();
  std::vector<Probe> fine;
  fine.reserve(columns.size());
  for (size_t k = 0; k < columns.size(); ++k) {
    const Probe& b = f.Column(columns[k]);
    if (k > 0 && columns[k - 1] + 1 == columns[k]) {
      const Probe& a = f.Column(columns[k - 1]);
      const long double rows = std::fabs(b.J.V - a.J.V) / row;
      const bool fast = a.Defined && b.Defined && rows > kRowsPerSample &&
                        (Visible(a.J.V, frame) || Visible(b.J.V, frame));
      const int split =
          fast ? static_cast<int>(std::fmin(kMaxSplit, std::ceil(rows / kRowsPerSample))) : 1;
      for (int s = 1; s < split && budget > 0; ++s, --budget) {
        fine.push_back(f.At(a.X + (b.X - a.X) * s / split, kSampleOrder));
      }
    }
    fine.push_back(b);
  }
  return fine;
}

Probe Difference(const Probe& f, const Probe& g) {
  Probe d{f.X, f.Defined && g.Defined, {}};
  d.J = {f.J.V - g.J.V,
         f.J.D1 - g.J.D1,
         f.J.D2 - g.J.D2,
         f.J.D3 - g.J.D3,
         {f.J.M[0] + g.J.M[0], f.J.M[1] + g.J.M[1], f.J.M[2] + g.J.M[2], f.J.M[3] + g.J.M[3]}};
  return d;
}

// SignificantSign of f - g, without making the difference's probe.
int DifferenceSign(const Probe& f, const Probe& g, int order) {
  if (!f.Defined || !g.Defined) return kNoValue;
  const long double d = f.J.Order(order) - g.J.Order(order);
  return Jet::WithinRounding(d, f.J.M[order] + g.J.M[order]) ? 0 : SignOf(d);
}

bool IsBlankExpression(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// The columns where f - g may change sign, or its slope may where it comes close to 0, and those
// where f or g has no value, which part the stretches between.
std::vector<size_t> CrossingColumns(const SampledFunction& f, const SampledFunction& g) {
  const size_t n = std::min(f.Count(), g.Count());
  if (n == 0) return {};
  ColumnMarks marks(n);
  const std::vector<double>& a = f.Screen();
  const std::vector<double>& b = g.Screen();
  // A sign change of f - g between two columns is found by their jets alone; values too close to
  // tell take their neighbours along, up to the next clear ones.
  const auto h = [&](size_t i) { return a[i] - b[i]; };
  const auto noise = [&](size_t i) {
    return static_cast<double>(kValueNoise) * (std::fabs(a[i]) + std::fabs(b[i]));
  };
  for (size_t i = 0; i < n; ++i) {
    const double d = h(i);
    if (std::isnan(d)) {
      marks.Mark(i, i, 0);
    } else if (std::fabs(d) <= noise(i)) {
      marks.Mark(i, i, 1);
    } else if (i + 1 < n && SignOf(d) * SignOf(h(i + 1)) < 0) {
      marks.Mark(i, i + 1, 0);
    }
    if (i == 0 || i + 1 == n) continue;
    const double before = h(i - 1), after = h(i + 1);
    if (std::isnan(before) || std::isnan(d) || std::isnan(after)) continue;
    const double d1 = d - before, d2 = after - d;
    const double near = std::min({std::fabs(before), std::fabs(d), std::fabs(after)});
    if (SignInDoubt(d1, d2, noise(i)) && near <= 16 * (std::fabs(d1) + std::fabs(d2)) + noise(i)) {
      marks.Mark(i - 1, i + 1);
    }
  }
  return marks.Marked();
}
}  // namespace

AnalysisFrame ProjectFrame(const ProjectSettings& settings, TQelParser& engine) {
  const PlotGeometry geometry = RenderGeometry(settings, engine);
  return {geometry.XFrom, geometry.XTo, geometry.YFrom, geometry.YTo, geometry.W, geometry.H};
}

FrameColumns::FrameColumns(const TQelParser& engine, const AnalysisFrame& frame) {
  TQelParser reader = engine.Sibling();
  const auto count = static_cast<size_t>(std::max(frame.Columns, 1)) + 1;
  Readings.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    Readings.push_back(reader.ReadVariable(ExactText(ColumnValue(frame, i))));
  }
}

SampledFunction::SampledFunction(const TQelParser& engine, const std::string& expression,
                                 const FrameColumns& columns)
    : function_(engine, expression) {
  function_.EngineValues(columns.Readings, values_);
  columns_.reserve(values_.size());
  for (const VariableReading& reading : columns.Readings) {
    columns_.push_back({reading.Memo.Value, false, {}});
  }
  states_.reserve(values_.size());
  screen_.reserve(values_.size());
  for (const long double v : values_) {
    screen_.push_back(std::fabs(v) <= DBL_MAX ? static_cast<double>(v) : NAN);
    states_.push_back(std::isnan(v) ? kStateNone : (std::isinf(v) ? kStateUnknown : kStateValue));
  }
}

SampledFunction::SampledFunction(const TQelParser& engine, const std::string& expression,
                                 const AnalysisFrame& frame)
    : SampledFunction(engine, expression, FrameColumns(engine, frame)) {}

Probe SampledFunction::At(long double x, int order) {
  Probe p{x, false, function_.At(x, order)};
  p.Defined = std::isfinite(p.J.V) && (function_.Plain() || function_.EngineValue(x).has_value());
  return p;
}

const Probe& SampledFunction::Column(size_t i) {
  Probe& p = columns_[i];
  if ((states_[i] & kStateJet) == 0) {
    p.J = function_.At(p.X, kSampleOrder);
    p.Defined = !std::isnan(values_[i]) && std::isfinite(p.J.V);
    states_[i] = kStateJet | (p.Defined ? kStateValue : kStateNone);
  }
  return p;
}

bool SampledFunction::HasValue(size_t i) {
  // A finite value of the engine comes with a finite jet; an infinite one needs the jet to tell.
  if (states_[i] == kStateUnknown) Column(i);
  return (states_[i] & kStateValue) != 0;
}

std::optional<PointList> AnalyseFunction(SampledFunction& f, const AnalysisFrame& frame,
                                         const StopRequest& stop) {
  const std::vector<Probe> samples = FineSamples(f, frame, TellingColumns(f, frame));
  std::vector<Candidate> candidates;
  const auto sample = [&samples](size_t i) -> const Probe& { return samples[i]; };
  for (int order = 0; order < 3; ++order) {
    const auto sign = [&samples, order](size_t i) { return SignificantSign(samples[i], order); };
    ScanSignChanges(samples.size(), sign, sample, order, Always, candidates);
  }
  ScanBreaks(samples, candidates);
  const Evaluator at = [&f](long double x, int order) { return f.At(x, order); };
  const Discussion::EngineValue value = [&f](long double x) { return f.Function().EngineValue(x); };
  std::optional<PointList> list =
      Discuss(candidates, std::fabs(frame.XTo - frame.XFrom), stop,
              [&at, &value](const Candidate& c, std::vector<CurvePoint>& points) {
                DiscussCandidate(at, value, c, points);
              });
  if (list && frame.XFrom <= 0 && frame.XTo >= 0) {
    if (const std::optional<long double> y = f.Function().EngineValue(0)) {
      const auto at0 = std::lower_bound(list->Points.begin(), list->Points.end(), 0.0L,
                                        [](const CurvePoint& p, long double x) { return p.X < x; });
      list->Points.insert(at0, {PointKind::YIntercept, 0.0L, *y});
    }
  }
  return list;
}

std::optional<PointList> Intersections(SampledFunction& f, SampledFunction& g,
                                       const StopRequest& stop) {
  const std::vector<size_t> columns = CrossingColumns(f, g);
  const auto h = [&](size_t k) { return Difference(f.Column(columns[k]), g.Column(columns[k])); };
  const auto signOf = [&](size_t k, int order) {
    const size_t i = columns[k];
    if (!f.HasValue(i) || !g.HasValue(i)) return kNoValue;
    return DifferenceSign(f.Column(i), g.Column(i), order);
  };
  std::vector<Candidate> candidates;
  const auto sign = [&signOf](size_t k) { return signOf(k, 0); };
  const auto slopeSign = [&signOf](size_t k) { return signOf(k, 1); };
  ScanSignChanges(columns.size(), sign, h, 0, Always, candidates);
  ScanSignChanges(columns.size(), slopeSign, h, 1, MayTouch, candidates);
  const Evaluator at = [&f, &g](long double x, int order) {
    return Difference(f.At(x, order), g.At(x, order));
  };
  const size_t count = std::min(f.Count(), g.Count());
  const long double width = count > 0 ? std::fabs(f.X(count - 1) - f.X(0)) : 0;
  return Discuss(candidates, width, stop,
                 [&at, &f](const Candidate& c, std::vector<CurvePoint>& points) {
                   Crossing(at, f, c, points);
                 });
}

ProjectPoints AnalyseProject(const ProjectDocument& project, TQelParser& engine,
                             std::optional<size_t> only, const StopRequest& stop) {
  ProjectPoints result;
  AnalysisFrame frame;
  try {
    frame = ProjectFrame(project.Settings, engine);
  } catch (const EngineError& e) {
    result.Messages.push_back(e.what());
    return result;
  }
  const FrameColumns columns(engine, frame);
  std::vector<std::pair<size_t, std::unique_ptr<SampledFunction>>> sampled;
  for (size_t i = 0; i < project.Functions.size(); ++i) {
    const std::string& expression = project.Functions[i].Expression;
    if ((only && *only != i + 1) || IsBlankExpression(expression)) continue;
    if (stop && stop()) return {{}, {}, true};
    auto f = std::make_unique<SampledFunction>(engine, expression, columns);
    if (!f->Built()) {
      result.Messages.push_back(FunctionDefinitionError(expression));
      continue;
    }
    sampled.emplace_back(i + 1, std::move(f));
  }
  for (size_t i = 0; i < sampled.size(); ++i) {
    std::optional<PointList> own = AnalyseFunction(*sampled[i].second, frame, stop);
    if (!own) return {{}, {}, true};
    own->Function = sampled[i].first;
    result.Lists.push_back(std::move(*own));
    for (size_t j = i + 1; j < sampled.size(); ++j) {
      std::optional<PointList> both = Intersections(*sampled[i].second, *sampled[j].second, stop);
      if (!both) return {{}, {}, true};
      both->Function = sampled[i].first;
      both->Other = sampled[j].first;
      result.Lists.push_back(std::move(*both));
    }
  }
  return result;
}

std::optional<long double> ValueAt(TQelParser& engine, const std::string& expression,
                                   const std::string& xText, std::string& message) {
  TQelParser own = engine.Sibling();
  own.SetExpression(expression);
  if (!own.CreateTree()) {
    message = FunctionDefinitionError(expression);
    return std::nullopt;
  }
  own.SetX(xText);
  try {
    return own.EvaluateValue();
  } catch (const EngineError& e) {
    message = e.what();
    return std::nullopt;
  }
}
