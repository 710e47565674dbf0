#include "analysis/CurveTrace.h"

#include <cmath>

#include "analysis/PointTable.h"
#include "graph/DerivativeCurves.h"
#include "graph/FunctionCurves.h"
#include "graph/PlotMapping.h"
#include "platform/Conversions.h"

namespace {

bool InPicture(const PlotGeometry& frame, long double column, long double row) {
  return column >= 0 && column <= frame.W && row >= 0 && row <= frame.H;
}

int32_t FunctionColor(const ProjectDocument& project, size_t function) {
  return function >= 1 && function <= project.Functions.size()
             ? LeadingInt(project.Functions[function - 1].Color)
             : 0;
}

std::string PointCoordinates(const PlotGeometry& frame, long double x, long double y) {
  const long double xPixel = (frame.XTo - frame.XFrom) / frame.W;
  const long double yPixel = frame.RowRange / frame.H;
  return "(" + PixelText(x, xPixel) + "|" + PixelText(y, yPixel) + ")";
}

// Points of one curve that read the same share one label, "N,W(0|0)", rather than three on top of
// each other.
void AddMarker(std::vector<CurveMarker>& markers, CurveMarker marker, const char* letter,
               const std::string& coordinates) {
  for (CurveMarker& earlier : markers) {
    const std::string& label = earlier.Label;
    if (earlier.Color != marker.Color || !label.ends_with(coordinates)) continue;
    earlier.Label = label.substr(0, label.size() - coordinates.size()) + "," + letter + coordinates;
    return;
  }
  marker.Label = letter + coordinates;
  markers.push_back(std::move(marker));
}

bool Overlap(const LabelBox& a, const LabelBox& b) {
  return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
         b.Top < a.Top + a.Height;
}

bool Clear(const LabelBox& box, const std::vector<LabelBox>& taken, const PlotGeometry& frame) {
  if (box.Left < 0 || box.Top < 0 || box.Left + box.Width > frame.W ||
      box.Top + box.Height > frame.H)
    return false;
  for (const LabelBox& other : taken) {
    if (Overlap(box, other)) return false;
  }
  return true;
}

}  // namespace

std::vector<CurveMarker> PointMarkers(const std::vector<PointList>& lists,
                                      const ProjectDocument& project, const PlotGeometry& frame) {
  std::vector<CurveMarker> markers;
  for (const PointList& list : lists) {
    for (const CurvePoint& point : list.Points) {
      if (!point.Y) continue;
      CurveMarker marker{XColumn(frame, point.X),
                         YRow(frame, *point.Y),
                         FunctionColor(project, list.Function),
                         {}};
      if (!InPicture(frame, marker.Column, marker.Row)) continue;
      AddMarker(markers, std::move(marker), PointKindLetter(point.Kind),
                PointCoordinates(frame, point.X, *point.Y));
    }
  }
  return markers;
}

std::vector<std::optional<LabelBox>> PlaceLabels(const std::vector<CurveMarker>& markers,
                                                 const std::vector<LabelBox>& sizes,
                                                 const PlotGeometry& frame, double markerRadius) {
  // Every marker is taken first, so that no label covers a point placed after it.
  std::vector<LabelBox> taken;
  for (const CurveMarker& m : markers) {
    const double d = 2 * markerRadius;
    taken.push_back({static_cast<double>(m.Column) - markerRadius,
                     static_cast<double>(m.Row) - markerRadius, d, d});
  }
  std::vector<std::optional<LabelBox>> placed;
  for (size_t i = 0; i < markers.size() && i < sizes.size(); ++i) {
    const double x = static_cast<double>(markers[i].Column);
    const double y = static_cast<double>(markers[i].Row);
    const double w = sizes[i].Width, h = sizes[i].Height, gap = markerRadius + 1;
    const LabelBox around[] = {{x + gap, y - gap - h, w, h},
                               {x - gap - w, y - gap - h, w, h},
                               {x + gap, y + gap, w, h},
                               {x - gap - w, y + gap, w, h}};
    placed.emplace_back();
    for (const LabelBox& box : around) {
      if (!Clear(box, taken, frame)) continue;
      placed.back() = box;
      taken.push_back(box);
      break;
    }
  }
  return placed;
}

CurveTracer::CurveTracer(const ProjectDocument& project, const TQelParser& engine)
    : exact_(project.Settings.ExactCurves) {
  for (size_t i = 0; i < project.Functions.size(); ++i) {
    const FunctionEntry& entry = project.Functions[i];
    if (IsBlank(entry.Expression)) continue;
    TQelParser own = engine.Sibling();
    own.SetExpression(entry.Expression);
    if (!own.CreateTree()) continue;
    curves_.push_back({i + 1, LeadingInt(entry.Color), std::move(own)});
    const int32_t lighter = LighterTone(LeadingInt(entry.Color));
    for (const int order : {1, 2}) {
      if (!(order == 1 ? entry.DrawFirstDerivative : entry.DrawSecondDerivative)) continue;
      derivatives_.push_back({i + 1, order, lighter,
                              std::make_shared<DifferentiatedFunction>(engine, entry.Expression)});
    }
  }
}

std::vector<CurveValue> CurveTracer::At(const PlotGeometry& frame, int64_t column) {
  std::vector<CurveValue> values;
  if (curves_.empty()) return values;
  const std::string x =
      ColumnText(curves_.front().Engine, ColumnX(frame, column), exact_ ? ExactDigits(frame) : 0);
  for (Curve& curve : curves_) {
    curve.Engine.SetX(x);
    try {
      const long double value = curve.Engine.EvaluateValue();
      if (std::isfinite(value)) values.push_back({curve.Function, curve.Color, value, 0});
    } catch (const EngineError&) {
    }
  }
  // As the derivative curves are drawn: at the column's x, where the function has a value.
  const long double at = ColumnX(frame, static_cast<long double>(column));
  for (Derivative& d : derivatives_) {
    if (!d.Jets->EngineValue(at)) continue;
    const long double value = d.Jets->At(at).Order(d.Order);
    if (std::isfinite(value)) values.push_back({d.Function, d.Color, value, d.Order});
  }
  return values;
}

std::optional<size_t> NearestCurve(const std::vector<CurveValue>& values, const PlotGeometry& frame,
                                   long double row, long double reach) {
  std::optional<size_t> nearest;
  long double best = reach;
  for (size_t i = 0; i < values.size(); ++i) {
    const long double distance = std::fabs(YRow(frame, values[i].Value) - row);
    if (distance <= best) best = distance, nearest = i;
  }
  return nearest;
}

std::string TraceReadout(const PlotGeometry& frame, const CurveValue& value, int64_t column) {
  const long double xPixel = (frame.XTo - frame.XFrom) / frame.W;
  const long double yPixel = frame.RowRange / frame.H;
  return "f" + std::to_string(value.Function) + std::string(value.Order, '\'') + "(" +
         PixelText(ColumnX(frame, column), xPixel) + ") = " + PixelText(value.Value, yPixel);
}
