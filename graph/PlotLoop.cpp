#include "graph/PlotLoop.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>

#include "engine/FloatFaults.h"
#include "graph/PlotMapping.h"

namespace {

constexpr long double kInt64Bound = 9223372036854775808.0L;  // 2^63
constexpr int64_t kNoPoint = -1;

long double Checked(long double offset, int32_t size, long double range) {
  ClearFaults();
  const long double value = offset * size / range;
  ThrowOnFault(kFloatFaults);
  return value;
}

// A grid spacing so wide that one step leaves any 64-bit position behind is pinned at 2^100: the
// lines it places are never visible, so the picture is the same.
__int128 Spacing(long double spacing, int32_t size, long double range) {
  constexpr long double kPin = 1267650600228229401496703205376.0L;  // 2^100
  const long double value = Checked(spacing, size, range);
  if (std::fabs(value) >= kPin) return value < 0 ? -(__int128{1} << 100) : __int128{1} << 100;
  return static_cast<__int128>(value);
}

int64_t TruncToInt64(long double value) {
  if (!(value > -kInt64Bound - 1 && value < kInt64Bound)) {
    throw EngineError(FloatFaultMessage(FE_INVALID));
  }
  return static_cast<int64_t>(value);
}

// |trunc(bound / spacing)|, clamped to 64 bits; a zero spacing is the caller's error.
int64_t LineCount(long double bound, long double spacing) {
  ClearFaults();
  const long double q = std::fabs(bound / spacing);
  ThrowOnFault(FE_INVALID | FE_DIVBYZERO);
  return q < kInt64Bound ? static_cast<int64_t>(q) : std::numeric_limits<int64_t>::max();
}

__int128 FloorDiv(__int128 a, __int128 b) {
  const __int128 q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

__int128 CeilDiv(__int128 a, __int128 b) {
  return -FloorDiv(-a, b);
}

// Draws the lines at origin + k * step for k = 1..count that land in [lo, hi); draw(position)
// draws one. Equal positions are drawn once.
template <typename Draw>
RenderResult DrawLineFamily(__int128 origin, __int128 step, int64_t count, int64_t lo, int64_t hi,
                            const Checkpoint& checkpoint, Draw draw) {
  if (count < 1) return RenderResult::Completed;
  if (step == 0) {
    if (origin < lo || origin >= hi) return RenderResult::Completed;
    if (checkpoint.Stop()) return RenderResult::Cancelled;
    draw(static_cast<int64_t>(origin));
    return RenderResult::Completed;
  }
  __int128 first, last;
  if (step > 0) {
    first = CeilDiv(lo - origin, step);
    last = FloorDiv(hi - 1 - origin, step);
  } else {
    first = CeilDiv(hi - 1 - origin, step);
    last = FloorDiv(lo - origin, step);
  }
  if (first < 1) first = 1;
  if (last > count) last = count;
  for (__int128 k = first; k <= last; ++k) {
    if (checkpoint.Stop()) return RenderResult::Cancelled;
    draw(static_cast<int64_t>(origin + k * step));
  }
  return RenderResult::Completed;
}

int64_t PlusOne(int64_t v) {
  return v == std::numeric_limits<int64_t>::max() ? v : v + 1;
}

// trunc and floor of a number well within 64 bits, as whole numbers. A cast or std::trunc switches
// the rounding mode twice, which costs more than the rest of a sample's drawing; rounding in the
// current mode, whichever it is, and stepping back where that went past the number does not.
int64_t TruncatedInt(long double v) {
  const int64_t n = std::llrint(v);
  if (v >= 0) return static_cast<long double>(n) > v ? n - 1 : n;
  return static_cast<long double>(n) < v ? n + 1 : n;
}

int64_t FlooredInt(long double v) {
  const int64_t n = std::llrint(v);
  return static_cast<long double>(n) > v ? n - 1 : n;
}

// The row of a value, or nothing when it is not a number or does not fit 32 bits.
std::optional<int64_t> RowOf(const PlotGeometry& frame, long double v) {
  const long double r = (frame.RowTop - v) * frame.H / frame.RowRange;
  if (!(r > -2147483649.0L && r < 2147483648.0L)) return std::nullopt;
  return TruncatedInt(r);
}

struct Point {
  int64_t Column = kNoPoint, Row = kNoPoint;
  void Clear() { Column = Row = kNoPoint; }
};

void DrawSample(Canvas& bitmap, const CurveStyle& style, Point& previous, int64_t u, int64_t r) {
  if (style.Pointwise) {
    bitmap.Line(u - 1, r - 1, u, r);
    return;
  }
  const Point from = previous;
  previous = {u, r};
  if (!style.Thick) {
    bitmap.Line(from.Column, from.Row, u, r);
    return;
  }
  bitmap.ThickLine(from.Column, from.Row, u, r);
}

}  // namespace

int64_t PixelOffset(long double offset, int32_t size, long double range) {
  return TruncToInt64(Checked(offset, size, range));
}

void FillBackground(Canvas& bitmap, int32_t color) {
  bitmap.SetBrushColor(color);
  bitmap.FloodFill(10, 10, color);
}

RenderResult DrawGrid(Canvas& bitmap, const PlotGeometry& frame, long double spacing, int32_t color,
                      const Checkpoint& checkpoint) {
  const __int128 dx = Spacing(spacing, frame.W, frame.XTo - frame.XFrom);
  const __int128 dy = Spacing(spacing, frame.H, frame.YTo - frame.YFrom);
  const int64_t right = LineCount(frame.XTo, spacing), left = LineCount(frame.XFrom, spacing);
  const int64_t down = LineCount(frame.YFrom, spacing), up = LineCount(frame.YTo, spacing);
  bitmap.SetPenColor(color);
  const auto horizontal = [&](int64_t y) {
    bitmap.MoveTo(1, y);
    bitmap.LineTo(frame.W, y);
  };
  const auto vertical = [&](int64_t x) {
    bitmap.MoveTo(x, 1);
    bitmap.LineTo(x, frame.H);
  };
  const int64_t rows = bitmap.Height(), columns = bitmap.Width();
  if (DrawLineFamily(frame.OriginRow, dy, down, 0, rows, checkpoint, horizontal) ==
          RenderResult::Cancelled ||
      DrawLineFamily(frame.OriginRow, -dy, up, 0, rows, checkpoint, horizontal) ==
          RenderResult::Cancelled ||
      DrawLineFamily(frame.OriginColumn, dx, right, 0, columns, checkpoint, vertical) ==
          RenderResult::Cancelled ||
      DrawLineFamily(frame.OriginColumn, -dx, left, 0, columns, checkpoint, vertical) ==
          RenderResult::Cancelled) {
    return RenderResult::Cancelled;
  }
  return RenderResult::Completed;
}

void DrawAxes(Canvas& bitmap, const PlotGeometry& frame, int32_t color, int thickness) {
  bitmap.SetPenColor(color);
  int64_t y = frame.OriginRow;
  for (int i = 0; i < thickness; ++i, y = PlusOne(y)) {
    bitmap.MoveTo(1, y);
    bitmap.LineTo(frame.W, y);
  }
  int64_t x = frame.OriginColumn;
  for (int i = 0; i < thickness; ++i, x = PlusOne(x)) {
    bitmap.MoveTo(x, 1);
    bitmap.LineTo(x, frame.H);
  }
}

int64_t PixelStep(const PlotGeometry& frame, long double step) {
  const long double ratio = frame.W * step / (frame.XTo - frame.XFrom);
  if (!(ratio >= 1)) return 1;
  if (ratio > frame.W) return static_cast<int64_t>(frame.W) + 1;
  return static_cast<int64_t>(ratio);
}

int64_t CurveStep(const PlotGeometry& frame, long double step, const CurveStyle& style) {
  return style.Exact ? 1 : PixelStep(frame, step);
}

int32_t ExactDigits(const PlotGeometry& frame) {
  constexpr int32_t kLeast = 8, kMost = 40;
  const long double pixel = (frame.XTo - frame.XFrom) / frame.W;
  if (!(pixel > 0) || !std::isfinite(pixel)) return kLeast;
  const long double digits = 1 - std::floor(std::log10(pixel));
  return static_cast<int32_t>(std::clamp<long double>(digits, kLeast, kMost));
}

std::string ColumnText(TQelParser& parser, long double x, int32_t digits) {
  if (digits <= 0) return parser.LongDoubleToStr(x);
  const int32_t precision = parser.Precision();
  parser.SetPrecision(digits);
  std::string text = parser.LongDoubleToStr(x);
  parser.SetPrecision(precision);
  return text;
}

int64_t SampleCount(const PlotGeometry& frame, int64_t p) {
  return frame.W < 1 ? 0 : (frame.W - 1) / p + 1;
}

const VariableReading& ColumnTable::At(int64_t u) {
  if (const VariableReading* cached = Cached(u)) return *cached;
  VariableReading reading = parser_.ReadVariable(ColumnText(parser_, ColumnX(frame_, u), digits_));
  if (u > kCachedColumns) {
    scratch_ = std::move(reading);
    return scratch_;
  }
  const auto index = static_cast<size_t>(u);
  if (index >= columns_.size()) {
    const size_t size =
        std::min<size_t>(kCachedColumns + 1, std::max(index + 1, 2 * columns_.size()));
    columns_.resize(size);
    made_.resize(size);
  }
  columns_[index] = std::move(reading);
  made_[index] = true;
  return columns_[index];
}

void ColumnTable::Prepare(int64_t p) {
  const int64_t count = SampleCount(frame_, p);
  for (int64_t k = 0; k < count; ++k) At(1 + k * p);
}

const VariableReading* ColumnTable::Cached(int64_t u) const {
  const auto index = static_cast<size_t>(u);
  return u >= 0 && index < made_.size() && made_[index] ? &columns_[index] : nullptr;
}

void SampleCurve(TQelParser& parser, const PlotGeometry& frame, int64_t p, int64_t first,
                 size_t count, const std::function<const VariableReading&(int64_t u)>& column,
                 CurveSample* out) {
  std::vector<VariableReading> xs(std::min(count, kSampleBlock));
  long double values[kSampleBlock];
  bool failed[kSampleBlock];
  for (size_t done = 0; done < count; done += xs.size()) {
    xs.resize(std::min(count - done, kSampleBlock));
    for (size_t i = 0; i < xs.size(); ++i) {
      xs[i] = column(1 + (first + static_cast<int64_t>(done + i)) * p);
    }
    parser.EvaluateAt(xs.data(), xs.size(), values, failed);
    for (size_t i = 0; i < xs.size(); ++i) {
      CurveSample& sample = out[done + i];
      if (failed[i]) {
        sample.Kind = SampleKind::Failed;
        continue;
      }
      sample.Value = values[i];
      const std::optional<int64_t> r = RowOf(frame, sample.Value);
      sample.Kind = r ? SampleKind::Point : SampleKind::NoRow;
      sample.Row = r.value_or(0);
    }
  }
}

namespace {

// What the engine would hold had it evaluated each sample that passed its check point.
struct EngineTrail {
  std::string XBefore;
  int64_t LastColumn = 0;
  std::optional<long double> LastValue;

  void Leave(TQelParser& parser, ColumnTable& columns) {
    if (LastColumn == 0) {
      parser.SetX(std::move(XBefore));
    } else {
      parser.SetX(columns.At(LastColumn).Text);
    }
    if (LastValue) parser.RecordResult(*LastValue);
  }
};

// Hands each fetched sample to `each(u, sample)` in column order, recording its column in the
// trail; false when a check point stopped the walk.
template <typename Each>
bool ForEachSample(const PlotGeometry& frame, int64_t p, const Checkpoint& checkpoint,
                   const SampleFetch& fetch, EngineTrail& trail, Each each) {
  const int64_t count = SampleCount(frame, p);
  for (int64_t first = 0; first < count;) {
    const CurveSample* block = nullptr;
    const size_t n = fetch(first, block);
    for (size_t i = 0; i < n; ++i, ++first) {
      if (checkpoint.Stop()) return false;
      const int64_t u = 1 + first * p;
      trail.LastColumn = u;
      each(u, block[i]);
    }
  }
  return true;
}

RenderResult DrawSamples(Canvas& bitmap, const PlotGeometry& frame, int64_t p,
                         const CurveStyle& style, const Checkpoint& checkpoint,
                         const SampleFetch& fetch, EngineTrail& trail) {
  Point previous;
  const bool completed =
      ForEachSample(frame, p, checkpoint, fetch, trail, [&](int64_t u, const CurveSample& sample) {
        if (sample.Kind == SampleKind::Failed) {
          previous.Clear();
          return;
        }
        trail.LastValue = sample.Value;
        if (style.Deviation && std::fabs(sample.Value) >= *style.Deviation) previous.Clear();
        if (sample.Kind == SampleKind::NoRow) {
          previous.Clear();
          return;
        }
        if (previous.Row == kNoPoint) previous.Row = sample.Row - 1;
        if (previous.Column == kNoPoint) previous.Column = u - 1;
        DrawSample(bitmap, style, previous, u, sample.Row);
      });
  return completed ? RenderResult::Completed : RenderResult::Cancelled;
}

// A point of a traced curve: its column position and its row, both real numbers.
struct Knot {
  long double T, Y;
};

std::optional<Knot> KnotOf(const PlotGeometry& frame, long double t, long double value) {
  const long double y = (frame.RowTop - value) * frame.H / frame.RowRange;
  if (!std::isfinite(y)) return std::nullopt;
  return Knot{t, y};
}

// Draws traced points as pieces: pixel lines as the plain curve draws them, or smooth polylines.
class Tracer {
 public:
  Tracer(Canvas& canvas, const CurveStyle& style, const PlotGeometry& frame)
      : canvas_(canvas), style_(style), height_(frame.H) {}

  void Break() {
    Flush();
    previous_.Clear();
  }
  void To(const Knot& knot) {
    // Far rows are pinned just beyond the picture, where the pinned part of a line cannot show.
    const long double margin = height_ + 16.0L;
    const long double y = std::clamp(knot.Y, -margin, height_ + margin);
    if (style_.Smooth) {
      AddSmooth(static_cast<double>(knot.T), static_cast<double>(y));
      return;
    }
    const int64_t u = FlooredInt(knot.T + 0.5L);
    const int64_t r = TruncatedInt(y);
    if (previous_.Column == u && previous_.Row == r) return;
    if (previous_.Row == kNoPoint) previous_.Row = r - 1;
    if (previous_.Column == kNoPoint) previous_.Column = u - 1;
    DrawSample(canvas_, style_, previous_, u, r);
  }
  void Flush() {
    merged_.clear();
    if (points_.empty()) return;
    canvas_.SmoothPolyline(points_, style_.Thick ? 2.0 : 1.5);
    points_.clear();
  }

 private:
  // A plain curve fills rows r and r + 1 of a line-wise sample, pixel (u - 1, r - 1) of a
  // point-wise one; the smooth curve lies where those pixels' centre would be.
  void AddSmooth(double t, double y) {
    if (style_.Pointwise) {
      canvas_.SmoothPolyline({{t - 0.5, y - 0.5}}, 1.5);
      return;
    }
    Push({t + 0.5, y + (style_.Thick ? 1.0 : 0.5)});
  }

  // Points that lie within a tenth of a pixel of the line from the last kept point to the new one
  // are left out, up to a stretch of kMerged, which spares most of a traced curve's points.
  void Push(FinePoint q) {
    if (points_.size() >= 2 && merged_.size() < kMerged && Near(points_[points_.size() - 2], q)) {
      merged_.push_back(points_.back());
      points_.back() = q;
      return;
    }
    merged_.clear();
    points_.push_back(q);
  }
  bool Near(FinePoint a, FinePoint b) const {
    const double dx = b.X - a.X, dy = b.Y - a.Y, length2 = dx * dx + dy * dy;
    if (length2 == 0) return false;
    const auto near = [&](FinePoint p) {
      const double cross = (p.X - a.X) * dy - (p.Y - a.Y) * dx;
      return cross * cross <= kTolerance * kTolerance * length2;
    };
    return near(points_.back()) && std::all_of(merged_.begin(), merged_.end(), near);
  }

  Canvas& canvas_;
  const CurveStyle& style_;
  long double height_;
  static constexpr size_t kMerged = 16;
  static constexpr double kTolerance = 0.1;
  Point previous_;
  std::vector<FinePoint> points_, merged_;
};

// Evaluates between columns until the curve is traced to the pixel.
class Refiner {
 public:
  Refiner(TQelParser& parser, const PlotGeometry& frame, int32_t digits)
      : parser_(parser), frame_(frame), digits_(digits) {}

  std::optional<Knot> At(long double t) {
    const VariableReading x =
        parser_.ReadVariable(ColumnText(parser_, ColumnX(frame_, t), digits_));
    long double value = 0;
    bool failed = false;
    parser_.EvaluateAt(&x, 1, &value, &failed);
    if (failed) return std::nullopt;
    return KnotOf(frame_, t, value);
  }

  // Traces from a (already drawn) to b. Stretches wholly above or below the picture show nothing
  // and are left as they are; where the halves keep leaving the picture on opposite sides down to
  // the finest step, the curve has a pole or a jump there and is broken.
  void Between(const Knot& a, const Knot& b, Tracer& pen, int depth = 0) {
    const long double h = frame_.H;
    const bool hidden = (a.Y < 0 && b.Y < 0) || (a.Y > h && b.Y > h);
    if (hidden || std::fabs(a.Y - b.Y) <= kFine) {
      pen.To(b);
      return;
    }
    // Within the picture a jump is placed to a sixteenth of a pixel, which shows as well as finer.
    const bool inside = a.Y >= 0 && a.Y <= h && b.Y >= 0 && b.Y <= h;
    const int most = inside ? kInsideDepth : kDepth;
    const std::optional<Knot> middle = depth < most ? At((a.T + b.T) / 2) : std::nullopt;
    if (!middle) {
      if (depth < most || (a.Y < 0 && b.Y > h) || (a.Y > h && b.Y < 0)) pen.Break();
      pen.To(b);
      return;
    }
    // A stretch whose middle lies on its chord is straight enough to draw as it is.
    if (std::fabs(middle->Y - (a.Y + b.Y) / 2) <= kStraight) {
      pen.To(*middle);
      pen.To(b);
      return;
    }
    Between(a, *middle, pen, depth + 1);
    Between(*middle, b, pen, depth + 1);
  }

 private:
  static constexpr int kDepth = 8;  // 1/256 of a pixel
  static constexpr int kInsideDepth = 4;
  // Stretches of at most this many rows are drawn as they are; only steeper ones are refined.
  static constexpr long double kFine = 3;
  static constexpr long double kStraight = 0.25L;  // pixels
  TQelParser& parser_;
  const PlotGeometry& frame_;
  int32_t digits_;
};

RenderResult DrawTraced(Canvas& bitmap, const PlotGeometry& frame, int64_t p,
                        const CurveStyle& style, const Checkpoint& checkpoint,
                        const SampleFetch& fetch, EngineTrail& trail, Refiner* refiner) {
  Tracer pen(bitmap, style, frame);
  std::optional<Knot> last;
  const auto add = [&](const Knot& knot, long double value) {
    if (style.Deviation && std::fabs(value) >= *style.Deviation) {
      pen.Break();
      last.reset();
    }
    if (last && refiner && !style.Pointwise) {
      refiner->Between(*last, knot, pen);
    } else {
      pen.To(knot);
    }
    last = knot;
  };
  if (refiner && !style.Pointwise) last = refiner->At(0);
  if (last) pen.To(*last);
  const bool completed =
      ForEachSample(frame, p, checkpoint, fetch, trail, [&](int64_t u, const CurveSample& sample) {
        const std::optional<Knot> knot =
            sample.Kind == SampleKind::Failed ? std::nullopt : KnotOf(frame, u, sample.Value);
        if (sample.Kind != SampleKind::Failed) trail.LastValue = sample.Value;
        if (!knot) {
          pen.Break();
          last.reset();
          return;
        }
        add(*knot, sample.Value);
      });
  if (!completed) return RenderResult::Cancelled;
  pen.Flush();
  return RenderResult::Completed;
}

}  // namespace

RenderResult DrawSampledCurve(Canvas& bitmap, const PlotGeometry& frame, TQelParser& parser,
                              ColumnTable& columns, int64_t p, int32_t color,
                              const CurveStyle& style, const Checkpoint& checkpoint,
                              const SampleFetch& fetch) {
  bitmap.SetPenColor(color);
  EngineTrail trail{parser.X(), 0, std::nullopt};
  Refiner refiner(parser, frame, columns.Digits());
  const RenderResult result = style.Smooth || style.Exact
                                  ? DrawTraced(bitmap, frame, p, style, checkpoint, fetch, trail,
                                               style.Exact ? &refiner : nullptr)
                                  : DrawSamples(bitmap, frame, p, style, checkpoint, fetch, trail);
  trail.Leave(parser, columns);
  return result;
}

RenderResult DrawCurve(Canvas& bitmap, const PlotGeometry& frame, TQelParser& parser,
                       ColumnTable& columns, long double step, int32_t color,
                       const CurveStyle& style, const Checkpoint& checkpoint) {
  const int64_t p = CurveStep(frame, step, style);
  const auto column = [&](int64_t u) -> const VariableReading& { return columns.At(u); };
  const auto count = static_cast<size_t>(SampleCount(frame, p));
  std::vector<CurveSample> block(std::min(count, kSampleBlock));
  const SampleFetch evaluate = [&](int64_t first, const CurveSample*& out) {
    const size_t n = std::min(block.size(), count - static_cast<size_t>(first));
    SampleCurve(parser, frame, p, first, n, column, block.data());
    out = block.data();
    return n;
  };
  return DrawSampledCurve(bitmap, frame, parser, columns, p, color, style, checkpoint, evaluate);
}

RenderResult DrawCurve(Canvas& bitmap, const PlotGeometry& frame, TQelParser& parser,
                       long double step, int32_t color, const CurveStyle& style,
                       const Checkpoint& checkpoint) {
  ColumnTable columns(frame, parser, style.Exact ? ExactDigits(frame) : 0);
  return DrawCurve(bitmap, frame, parser, columns, step, color, style, checkpoint);
}

ThrottledPoll::ThrottledPoll(std::function<void()> poll, std::chrono::microseconds interval,
                             Clock clock)
    : poll_(std::move(poll)), interval_(interval), clock_(std::move(clock)), last_(clock_()) {}

void ThrottledPoll::operator()() {
  // Reading the clock costs about as much as a sample; every few check points is often enough.
  if (++calls_ % kClockEvery != 0) return;
  const auto now = clock_();
  if (now - last_ < interval_) return;
  last_ = now;
  if (poll_) poll_();
}
