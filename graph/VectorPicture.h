#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <variant>
#include <vector>

#include "graph/Canvas.h"

// A canvas that records the drawing as shapes instead of pixels, at the pixel positions the bitmap
// would fill: joined lines of one colour become one polyline, a line that fills a single pixel a
// one-pixel dot. Only the fill of a still untouched picture is recorded (its background); drawing
// comes after it. Points are kept in one flat store and runs of dots in one record each, so a
// picture costs a few bytes per point.
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
  // An anti-aliased polyline at full precision.
  struct SmoothLine {
    int32_t Color;
    double Width;
    std::vector<FinePoint> Points;
  };
  // A filled rectangle [Left, Right) x [Top, Bottom).
  struct Box {
    int32_t Color;
    int64_t Left, Top, Right, Bottom;
  };
  struct Label {
    int32_t Color;
    TextLine Line;
  };
  using Shape = std::variant<Dot, Polyline, SmoothLine, Box, Label>;

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
  void FillRect(int64_t left, int64_t top, int64_t right, int64_t bottom) override;
  void SmoothPolyline(const std::vector<FinePoint>& points, double width) override;
  void DrawText(const TextLine& line) override;

  int32_t Background() const { return background_; }

  // The drawing is a sequence of runs, each one colour; a run holds one shape or a row of dots.
  size_t RunCount() const { return runs_.size(); }
  int32_t RunColor(size_t run) const { return runs_[run].Color; }
  // Whether the run is a dot, a row of dots or a pixel polyline.
  bool IsPixelRun(size_t run) const { return runs_[run].Kind <= RunKind::Thick; }
  // Hands the run's shapes over one by one, in order.
  void VisitRun(size_t run, const std::function<void(const Shape&)>& visit) const;
  // The drawing in its order.
  std::vector<Shape> Shapes() const;

 private:
  enum class RunKind : uint8_t { Dots, Thin, Thick, Smooth, Box, Label };
  struct Run {
    int32_t Color;
    RunKind Kind;
    float Width;        // of a smooth line
    size_t Begin, End;  // its part of the store of its kind
  };
  void Add(Point from, Point to, bool thick);
  void StartRun(RunKind kind, size_t begin, size_t end, float width = 0);
  // A finished thin run that fills a single pixel joins the row of dots before it.
  void SettleLastRun();

  int32_t width_;
  int32_t height_;
  int32_t pen_ = 0;
  int32_t brush_ = 0xFFFFFF;
  int32_t background_ = 0xFFFFFF;
  Point at_;
  std::vector<Run> runs_;
  std::vector<Point> points_;  // thin and thick runs: joined lines, each up to the next point
  std::vector<FinePoint> finePoints_;
  std::vector<Box> boxes_;
  std::vector<TextLine> labels_;
};
