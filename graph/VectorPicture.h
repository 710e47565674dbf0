#pragma once

#include <cstdint>
#include <variant>
#include <vector>

#include "graph/Canvas.h"

// A canvas that records the drawing as shapes instead of pixels, at the pixel positions the bitmap
// would fill: joined lines of one colour become one polyline, a line that fills a single pixel a
// one-pixel dot. Only the fill of a still untouched picture is recorded (its background); drawing
// comes after it.
class VectorPicture final : public Canvas {
 public:
  struct Point {
    int64_t X = 0, Y = 0;
    bool operator==(const Point&) const = default;
  };
  // The pixel at (X, Y).
  struct Dot {
    int32_t Color;
    Point At;
  };
  // A line through the centres of the given pixels, one pixel wide, ends included; a thick one is
  // two pixels high: the pixels and those one row lower.
  struct Polyline {
    int32_t Color;
    bool Thick;
    std::vector<Point> Points;
  };
  using Shape = std::variant<Dot, Polyline>;

  VectorPicture(int32_t width, int32_t height);

  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  void SetPenColor(int32_t color) override { pen_ = color & 0xFFFFFF; }
  void SetBrushColor(int32_t color) override { brush_ = color & 0xFFFFFF; }
  void MoveTo(int64_t x, int64_t y) override;
  void LineTo(int64_t x, int64_t y) override;
  void Line(int64_t fromX, int64_t fromY, int64_t x, int64_t y) override;
  void ThickLine(int64_t fromX, int64_t fromY, int64_t x, int64_t y) override;
  // Throws std::logic_error once something has been drawn: the recorder keeps no pixels.
  void FloodFill(int64_t x, int64_t y, int32_t borderColor) override;

  int32_t Background() const { return background_; }
  // The drawing in its order.
  std::vector<Shape> Shapes() const;

 private:
  struct Run {
    int32_t Color;
    bool Thick;
    std::vector<Point> Points;  // joined lines, each up to but not including the next point
  };
  void Add(Point from, Point to, bool thick);

  int32_t width_;
  int32_t height_;
  int32_t pen_ = 0;
  int32_t brush_ = 0xFFFFFF;
  int32_t background_ = 0xFFFFFF;
  Point at_;
  std::vector<Run> runs_;
};
