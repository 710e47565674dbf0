#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "graph/PlotLoop.h"
#include "project/ProjectDocument.h"

// Between the frame's pixels and the values of the plane: the drawing loop samples a column at
// ColumnX, the graph window reads the pointer's position and turns a dragged rectangle or a wheel
// step into new ranges. Positions may be fractional; (0, 0) is the top left corner.

// The x value that column u stands for: XFrom + u * range_x / W.
long double ColumnX(const PlotGeometry& frame, long double column);

// The y value of a row, the inverse of the row a value is drawn on: RowTop - r * RowRange / H.
long double RowY(const PlotGeometry& frame, long double row);

// The inverses: the fractional column of an x and row of a y, where ColumnX and RowY give them
// back.
long double XColumn(const PlotGeometry& frame, long double x);
long double YRow(const PlotGeometry& frame, long double y);

// A value as a person would type it, with no more digits than values `pixel` apart need to read
// differently: the regional separator, no trailing zeros, no "-0", an exponent below
// 1e-5 and from 1e15 on.
std::string PixelText(long double value, long double pixel);

// The texts of the four range fields.
struct ViewRanges {
  std::string XFrom, XTo, YFrom, YTo;
};

// How far a zoom may go. The drawing maps values to pixels in extended precision, so bounds stay
// within +-1e4900 and a pixel no finer than 1e-4900, where that mapping cannot overflow. Each
// column's x is read as a text of 8 decimals unless the curves are drawn exactly, so then a column
// is no narrower than 1e-8: closer columns would read the same x and draw flat or stepped curves.
struct ZoomLimits {
  long double FinestXPixel = 1e-8L;
};
ZoomLimits LimitsFor(const ProjectSettings& settings);

// The ranges of a rectangle spanned by two frame positions in any order, each first clamped to the
// picture (width x height pixels). Nothing when the rectangle is no more than `minimum` pixels wide
// or high (a click), when the ranges pass the limits, or when the rounded texts would not keep each
// "from" below its "to".
std::optional<ViewRanges> RectangleRanges(const PlotGeometry& frame, int32_t width, int32_t height,
                                          long double column1, long double row1,
                                          long double column2, long double row2,
                                          long double minimum, const ZoomLimits& limits);

// The ranges scaled by `factor` around the value under a frame position (below 1 zooms in). Nothing
// when they pass the limits or the rounded texts would not keep "from" below "to".
std::optional<ViewRanges> ScaledRanges(const PlotGeometry& frame, long double column,
                                       long double row, long double factor,
                                       const ZoomLimits& limits);

// The status bar's line for the pointer over a frame position: "x = …   y = …".
std::string PointerReadout(const PlotGeometry& frame, long double column, long double row);
