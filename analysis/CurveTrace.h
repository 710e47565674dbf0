#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/CurveAnalysis.h"
#include "analysis/TreeJet.h"
#include "engine/QelParser.h"
#include "graph/PlotLoop.h"
#include "project/ProjectDocument.h"

// What the graph window shows over its picture: the points of a curve discussion as markers, and
// the value of the curve under the pointer. Positions are the picture's fractional pixels.

// A marker's centre, the colour of the curve it belongs to and its label, as a school writes the
// point: the kind's letter and the coordinates as far as the picture resolves them ("H(-1|2)").
struct CurveMarker {
  long double Column = 0, Row = 0;
  int32_t Color = 0;
  std::string Label;
};

// The points that have a value, in the colour of their function (an intersection in the first's);
// points outside the picture are left out.
std::vector<CurveMarker> PointMarkers(const std::vector<PointList>& lists,
                                      const ProjectDocument& project, const PlotGeometry& frame);

// A label's box in picture pixels.
struct LabelBox {
  double Left = 0, Top = 0, Width = 0, Height = 0;
};

// Where each marker's label goes, given its text's size: beside the marker, above right, above
// left, below right or below left, the first of these inside the picture and clear of every marker
// and of the labels placed before; none where nothing fits, so that labels never hide one another.
std::vector<std::optional<LabelBox>> PlaceLabels(const std::vector<CurveMarker>& markers,
                                                 const std::vector<LabelBox>& sizes,
                                                 const PlotGeometry& frame, double markerRadius);

// One curve's value at a column, as the engine evaluates its function there.
struct CurveValue {
  size_t Function = 0;  // from 1, by its place in the project
  int32_t Color = 0;
  long double Value = 0;
  int Order = 0;  // 1 or 2 on a derivative curve
  bool SameCurve(const CurveValue& other) const {
    return Function == other.Function && Order == other.Order;
  }
};

// The functions of a project, each built once in an engine of its own, read at any column of the
// picture drawn from them with the x the drawing gave that column; the derivative curves drawn
// beside them, exact from the tree as they are drawn.
class CurveTracer {
 public:
  CurveTracer(const ProjectDocument& project, const TQelParser& engine);
  // The finite values at the column, in the project's order of functions.
  std::vector<CurveValue> At(const PlotGeometry& frame, int64_t column);

 private:
  struct Curve {
    size_t Function;
    int32_t Color;
    TQelParser Engine;
  };
  struct Derivative {
    size_t Function;
    int Order;
    int32_t Color;
    std::shared_ptr<DifferentiatedFunction> Jets;
  };
  std::vector<Curve> curves_;
  std::vector<Derivative> derivatives_;
  bool exact_;
};

// The index into `values` of the curve whose row is nearest to `row`, if within `reach` pixels.
std::optional<size_t> NearestCurve(const std::vector<CurveValue>& values, const PlotGeometry& frame,
                                   long double row, long double reach);

// The status line for a traced value at a column: "f2(1,5) = 3,375", on a derivative curve
// "f2'(1,5) = 6,75".
std::string TraceReadout(const PlotGeometry& frame, const CurveValue& value, int64_t column);
