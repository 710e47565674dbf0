#pragma once

#include <cstdint>
#include <string>

#include "engine/QelParser.h"
#include "graph/Canvas.h"
#include "graph/PlotLoop.h"

// The colour halfway between a 0x00BBGGRR colour and white, for the derivatives of a curve.
int32_t LighterTone(int32_t color);

// Whether column u lies on a dash of a derivative curve: 6 columns on, 4 off from column 1.
bool OnDash(int64_t u);

// Draws the first or second derivative (`order` 1 or 2) of the expression, exact from the
// engine's tree, at every column from 1 to W as dashes one pixel wide in the given colour. Columns
// where the function or the derivative has no value, or whose row does not fit, are left empty.
RenderResult DrawDerivativeCurve(Canvas& canvas, const PlotGeometry& frame,
                                 const TQelParser& parser, const std::string& expression, int order,
                                 int32_t color, const Checkpoint& checkpoint);
