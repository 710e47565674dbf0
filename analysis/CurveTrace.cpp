#include "analysis/CurveTrace.h"

#include <cmath>

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

}  // namespace

std::vector<CurveMarker> PointMarkers(const std::vector<PointList>& lists,
                                      const ProjectDocument& project, const PlotGeometry& frame) {
  std::vector<CurveMarker> markers;
  for (const PointList& list : lists) {
    for (const CurvePoint& point : list.Points) {
      if (!point.Y) continue;
      const CurveMarker marker{XColumn(frame, point.X), YRow(frame, *point.Y),
                               FunctionColor(project, list.Function)};
      if (InPicture(frame, marker.Column, marker.Row)) markers.push_back(marker);
    }
  }
  return markers;
}

CurveTracer::CurveTracer(const ProjectDocument& project, const TQelParser& engine)
    : exact_(project.Settings.ExactCurves) {
  for (size_t i = 0; i < project.Functions.size(); ++i) {
    const FunctionEntry& entry = project.Functions[i];
    if (IsBlank(entry.Expression)) continue;
    TQelParser own = engine.Sibling();
    own.SetExpression(entry.Expression);
    if (own.CreateTree()) curves_.push_back({i + 1, LeadingInt(entry.Color), std::move(own)});
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
      if (std::isfinite(value)) values.push_back({curve.Function, curve.Color, value});
    } catch (const EngineError&) {
    }
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
  return "f" + std::to_string(value.Function) + "(" + PixelText(ColumnX(frame, column), xPixel) +
         ") = " + PixelText(value.Value, yPixel);
}
