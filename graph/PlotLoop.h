#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/QelParser.h"
#include "graph/Canvas.h"

// The drawing shared by the project renderer and the stand-alone plotting component: background,
// grid, axes and sampled curves on a W x H pixel frame. The two callers differ only in what they
// pass in here.

enum class RenderResult { Completed, Cancelled };

// A check point tests the cancellation flag, then lets pending input through; the flag may be set
// by that input.
class Checkpoint {
 public:
  Checkpoint(const bool& cancelled, std::function<void()> poll)
      : cancelled_(cancelled), poll_(std::move(poll)) {}
  bool Stop() const {
    if (cancelled_) return true;
    if (poll_) poll_();
    return false;
  }

 private:
  const bool& cancelled_;
  std::function<void()> poll_;
};

struct PlotGeometry {
  // The ranges used for sampling, the pixel step and the grid.
  long double XFrom = -10, XTo = 10, YFrom = -10, YTo = 10;
  int32_t W = 640, H = 480;
  // Rows of values: trunc((RowTop - v) * H / RowRange).
  long double RowTop = 10, RowRange = 20;
  int64_t OriginColumn = 320, OriginRow = 240;
};

struct CurveStyle {
  bool Pointwise = true;
  bool Thick = true;                     // line-wise pieces drawn again one row lower
  std::optional<long double> Deviation;  // a sample this far from 0 or more starts a new piece
};

// trunc(offset * size / range) as a 64-bit pixel position; an arithmetic fault (a zero range, an
// overflow) or a result beyond 64 bits raises EngineError with the fault's message.
int64_t PixelOffset(long double offset, int32_t size, long double range);

// Flood-fills from (10, 10) with the colour as brush and border.
void FillBackground(Canvas& canvas, int32_t color);

// Grid lines anchored at the origin, spacing truncated once; lines that show nothing on the bitmap
// are skipped and coinciding ones drawn once. A zero spacing raises EngineError.
RenderResult DrawGrid(Canvas& canvas, const PlotGeometry& frame, long double spacing, int32_t color,
                      const Checkpoint& checkpoint);

// The x axis then the y axis through the origin, one or two pixels wide.
void DrawAxes(Canvas& canvas, const PlotGeometry& frame, int32_t color, int thickness);

// Samples the built tree at columns 1, 1 + p, ... up to W and draws points or joined pieces.
RenderResult DrawCurve(Canvas& canvas, const PlotGeometry& frame, TQelParser& parser,
                       long double step, int32_t color, const CurveStyle& style,
                       const Checkpoint& checkpoint);
