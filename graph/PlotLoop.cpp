#include "graph/PlotLoop.h"

#include <cfenv>
#include <cmath>
#include <limits>

#include "engine/FloatFaults.h"
#include "graph/PlotMapping.h"

namespace {

constexpr int kFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
constexpr long double kInt64Bound = 9223372036854775808.0L;  // 2^63
constexpr int64_t kNoPoint = -1;

void ThrowOnFault(int faults) {
  const int raised = std::fetestexcept(faults);
  if (raised) throw EngineError(FloatFaultMessage(raised));
}

long double Checked(long double offset, int32_t size, long double range) {
  std::feclearexcept(kFaults);
  const long double value = offset * size / range;
  ThrowOnFault(kFaults);
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
  std::feclearexcept(kFaults);
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

// The pixel step p = trunc(W * step / range_x), at least 1; beyond W only column 1 is sampled.
int64_t PixelStep(const PlotGeometry& frame, long double step) {
  const long double ratio = frame.W * step / (frame.XTo - frame.XFrom);
  if (!(ratio >= 1)) return 1;
  if (ratio > frame.W) return static_cast<int64_t>(frame.W) + 1;
  return static_cast<int64_t>(ratio);
}

// The row of a value, or nothing when it is not a number or does not fit 32 bits.
std::optional<int64_t> RowOf(const PlotGeometry& frame, long double v) {
  const long double r = (frame.RowTop - v) * frame.H / frame.RowRange;
  if (!(r > -2147483649.0L && r < 2147483648.0L)) return std::nullopt;
  // Truncating first and then converting the whole number in the current rounding mode spares the
  // rounding-mode switch of a plain cast, which costs more than the rest of the sample's drawing.
  return std::lrint(std::trunc(r));
}

struct Point {
  int64_t Column = kNoPoint, Row = kNoPoint;
  void Clear() { Column = Row = kNoPoint; }
};

void DrawSample(Bitmap& bitmap, const CurveStyle& style, Point& previous, int64_t u, int64_t r) {
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
  bitmap.Line(from.Column, from.Row, u, r);
  bitmap.Line(from.Column, from.Row + 1, u, r + 1);
  bitmap.Line(u, r + 1, u, r);
}

}  // namespace

int64_t PixelOffset(long double offset, int32_t size, long double range) {
  return TruncToInt64(Checked(offset, size, range));
}

void FillBackground(Bitmap& bitmap, int32_t color) {
  bitmap.SetBrushColor(color);
  bitmap.FloodFill(10, 10, color);
}

RenderResult DrawGrid(Bitmap& bitmap, const PlotGeometry& frame, long double spacing, int32_t color,
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

void DrawAxes(Bitmap& bitmap, const PlotGeometry& frame, int32_t color, int thickness) {
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

RenderResult DrawCurve(Bitmap& bitmap, const PlotGeometry& frame, TQelParser& parser,
                       long double step, int32_t color, const CurveStyle& style,
                       const Checkpoint& checkpoint) {
  const int64_t p = PixelStep(frame, step);
  Point previous;
  bitmap.SetPenColor(color);
  for (int64_t u = 1; u <= frame.W; u += p) {
    if (checkpoint.Stop()) return RenderResult::Cancelled;
    parser.SetX(parser.LongDoubleToStr(ColumnX(frame, u)));
    long double v;
    try {
      v = parser.Evaluate();
    } catch (const EngineError&) {
      previous.Clear();
      continue;
    }
    if (style.Deviation && std::fabs(v) >= *style.Deviation) previous.Clear();
    const std::optional<int64_t> r = RowOf(frame, v);
    if (!r) {
      previous.Clear();
      continue;
    }
    if (previous.Row == kNoPoint) previous.Row = *r - 1;
    if (previous.Column == kNoPoint) previous.Column = u - 1;
    DrawSample(bitmap, style, previous, u, *r);
  }
  return RenderResult::Completed;
}
