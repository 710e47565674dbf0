#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A position of the smooth drawing in pixel units: pixel (x, y) covers [x, x + 1) x [y, y + 1).
struct FinePoint {
  double X = 0, Y = 0;
  bool operator==(const FinePoint&) const = default;
};

// One line of text in the core's font: its box's top left corner and its height in pixels.
struct TextLine {
  std::string Text;  // UTF-8
  double X = 0, Y = 0, Size = 12;
  bool operator==(const TextLine&) const = default;
};

// The drawing operations the graph drawing uses, so that one drawing loop serves both the pixel
// bitmap and the vector recorder. Colours are 0x00BBGGRR values (only the low 24 bits count);
// positions are pixels of a Width() x Height() picture and may lie anywhere, outside included.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;

  virtual void SetPenColor(int32_t color) = 0;
  virtual void SetBrushColor(int32_t color) = 0;

  virtual void MoveTo(int64_t x, int64_t y) = 0;
  // Pen-coloured line from the current position up to, not including, (x, y); then (x, y) is
  // current.
  virtual void LineTo(int64_t x, int64_t y) = 0;
  // MoveTo(fromX, fromY) followed by LineTo(x, y).
  virtual void Line(int64_t fromX, int64_t fromY, int64_t x, int64_t y) = 0;
  // A line two rows high: the line, the same line one row lower and that lower line's end point.
  virtual void ThickLine(int64_t fromX, int64_t fromY, int64_t x, int64_t y) = 0;

  // Fills with the brush the 4-connected region of pixels other than the border colour that
  // contains (x, y); nothing when (x, y) lies outside or has the border colour.
  virtual void FloodFill(int64_t x, int64_t y, int32_t borderColor) = 0;
  // Fills [left, right) x [top, bottom) with the brush.
  virtual void FillRect(int64_t left, int64_t top, int64_t right, int64_t bottom) = 0;

  // Anti-aliased in the pen colour: a polyline `width` pixels wide with round joins and caps; a
  // single point is a dot of that diameter.
  virtual void SmoothPolyline(const std::vector<FinePoint>& points, double width) = 0;
  // Anti-aliased text in the pen colour.
  virtual void DrawText(const TextLine& line) = 0;

 protected:
  Canvas() = default;
  Canvas(const Canvas&) = default;
  Canvas& operator=(const Canvas&) = default;
};
