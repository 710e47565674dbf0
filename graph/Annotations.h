#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graph/Canvas.h"
#include "graph/PlotLoop.h"

// Numbers and names at the axes and the legend of the functions, laid out in the core's font.

struct AnnotationStyle {
  int32_t Ink = 0;           // numbers and names
  int32_t Paper = 0xFFFFFF;  // behind them
  double Size = 12;          // text height in pixels
  char Separator = '.';      // decimal separator of the numbers
};

// The text size for a frame: larger pictures get larger text.
double AnnotationSize(const PlotGeometry& frame);

// The value as an axis number for a scale of the given step: as many decimals as the step has,
// the separator given, "0" for a value within rounding of zero; a power of ten for huge or tiny
// steps ("1,5E12").
std::string AxisNumber(long double value, long double step, char separator);

// The smallest of 1, 2, 5 times a power of ten that is at least `minimum`.
long double RoundStep(long double minimum);

// Numbers at the grid lines, or at round steps when there is no grid (gridStep empty) or its lines
// lie too close for them, along each axis or along the picture's edge where the axis lies
// outside; "x" and "y" at the axes' positive ends. No two overlap, none covers an axis.
void DrawAxisNumbers(Canvas& canvas, const PlotGeometry& frame, std::optional<long double> gridStep,
                     const AnnotationStyle& style);

struct LegendEntry {
  std::string Text;  // "f1(x) = sin(x)*3", ended by "…" where too long
  int32_t Color = 0;
};

struct Rect {
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool Overlaps(const Rect& other) const {
    return Left < other.Right && other.Left < Right && Top < other.Bottom && other.Top < Bottom;
  }
};

// The legend's lines and the four places it may take: top right, top left, bottom right, bottom
// left.
struct Legend {
  std::vector<LegendEntry> Entries;
  double LineHeight = 0, Padding = 0;
  std::array<Rect, 4> Corners;
};

// The legend of the functions (colour, expression) for the frame; entries that do not fit its
// height end in a line "…".
Legend PlanLegend(const std::vector<LegendEntry>& functions, const PlotGeometry& frame,
                  double size);

// Draws the legend in the corner with the least of `covered`, the first of those on a tie.
void DrawLegend(Canvas& canvas, const Legend& legend, const std::array<double, 4>& covered,
                const AnnotationStyle& style);

// Passes the drawing on and measures how much of its lines lies in each of four boxes.
class CoverageCanvas final : public Canvas {
 public:
  CoverageCanvas(Canvas& target, const std::array<Rect, 4>& boxes)
      : target_(target), boxes_(boxes) {}
  const std::array<double, 4>& Covered() const { return covered_; }

  int32_t Width() const override { return target_.Width(); }
  int32_t Height() const override { return target_.Height(); }
  void SetPenColor(int32_t color) override { target_.SetPenColor(color); }
  void SetBrushColor(int32_t color) override { target_.SetBrushColor(color); }
  void MoveTo(int64_t x, int64_t y) override;
  void LineTo(int64_t x, int64_t y) override;
  void Line(int64_t fromX, int64_t fromY, int64_t x, int64_t y) override;
  void ThickLine(int64_t fromX, int64_t fromY, int64_t x, int64_t y) override;
  void FloodFill(int64_t x, int64_t y, int32_t borderColor) override {
    target_.FloodFill(x, y, borderColor);
  }
  void FillRect(int64_t left, int64_t top, int64_t right, int64_t bottom) override {
    target_.FillRect(left, top, right, bottom);
  }
  void SmoothPolyline(const std::vector<FinePoint>& points, double width) override;
  void DrawText(const TextLine& line) override { target_.DrawText(line); }

 private:
  void Count(double ax, double ay, double bx, double by, double weight);
  // Counts a pixel line of the drawing and leaves the pen at its end.
  void CountLine(int64_t fromX, int64_t fromY, int64_t x, int64_t y, double weight);

  Canvas& target_;
  std::array<Rect, 4> boxes_;
  std::array<double, 4> covered_{};
  int64_t penX_ = 0, penY_ = 0;
};
