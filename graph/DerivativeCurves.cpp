#include "graph/DerivativeCurves.h"

#include <cmath>
#include <optional>

#include "analysis/TreeJet.h"
#include "graph/PlotMapping.h"

namespace {

constexpr int64_t kDashOn = 6, kDashPeriod = 10;
// Columns drawn between two check points.
constexpr int64_t kCheckEvery = 64;

// The row of a value, or nothing when it is not a number or does not fit 32 bits.
std::optional<int64_t> DerivativeRow(const PlotGeometry& frame, long double v) {
  const long double r = (frame.RowTop - v) * frame.H / frame.RowRange;
  if (!(r > -2147483649.0L && r < 2147483648.0L)) return std::nullopt;
  return static_cast<int64_t>(std::trunc(r));
}

std::optional<int64_t> RowAt(DifferentiatedFunction& f, const PlotGeometry& frame, int order,
                             long double x) {
  if (!f.EngineValue(x)) return std::nullopt;
  return DerivativeRow(frame, f.At(x).Order(order));
}

// Continues the dash with the column's point, or ends it when the column has none.
void Extend(Canvas& canvas, std::optional<int64_t>& last, int64_t u, std::optional<int64_t> row) {
  if (last && row) canvas.LineTo(u, *row);
  if (!last && row) canvas.MoveTo(u, *row);
  // The line stops short of its end, so a dash's last column is drawn on its own.
  if (last && !row) canvas.LineTo(u, *last);
  last = row;
}

}  // namespace

int32_t LighterTone(int32_t color) {
  int32_t lighter = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int32_t channel = (color >> shift) & 0xFF;
    lighter |= (channel + (255 - channel) / 2) << shift;
  }
  return lighter;
}

bool OnDash(int64_t u) {
  return (u - 1) % kDashPeriod < kDashOn;
}

RenderResult DrawDerivativeCurve(Canvas& canvas, const PlotGeometry& frame,
                                 const TQelParser& parser, const std::string& expression, int order,
                                 int32_t color, const Checkpoint& checkpoint) {
  DifferentiatedFunction f(parser, expression);
  if (!f.Built()) return RenderResult::Completed;
  canvas.SetPenColor(color);
  std::optional<int64_t> last;
  for (int64_t u = 1; u <= frame.W; ++u) {
    if (u % kCheckEvery == 0 && checkpoint.Stop()) return RenderResult::Cancelled;
    const std::optional<int64_t> row =
        OnDash(u) ? RowAt(f, frame, order, ColumnX(frame, static_cast<long double>(u)))
                  : std::nullopt;
    Extend(canvas, last, u, row);
  }
  Extend(canvas, last, frame.W + 1, std::nullopt);
  return RenderResult::Completed;
}
