#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graph/Canvas.h"

struct LineWalk;

// A 24-bit drawing surface with the canvas operations the renderers need. Colours cross the
// boundary as 0x00BBGGRR values (only the low 24 bits count); the pixels are stored as RGB byte
// triples, rows top-down, each row padded to 4 bytes so the window layer can wrap them without
// copying.
class Bitmap final : public Canvas {
 public:
  // A fresh bitmap is white; sizes below 0 count as 0.
  Bitmap(int32_t width, int32_t height);

  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  size_t Stride() const { return stride_; }
  const uint8_t* Row(int32_t y) const { return pixels_.data() + static_cast<size_t>(y) * stride_; }
  const uint8_t* Data() const { return pixels_.data(); }

  // Reads a pixel as 0x00BBGGRR; the position must lie inside the bitmap.
  int32_t Pixel(int32_t x, int32_t y) const;
  // Sets one pixel; positions outside are ignored.
  void SetPixel(int64_t x, int64_t y, int32_t color);

  void SetPenColor(int32_t color) override { pen_ = color & 0xFFFFFF; }
  void SetBrushColor(int32_t color) override { brush_ = color & 0xFFFFFF; }
  int32_t PenColor() const { return pen_; }
  int32_t BrushColor() const { return brush_; }

  // Positions may lie anywhere; whatever falls outside the bitmap is clipped, and a line costs what
  // it shows, however far away its ends are. Positions beyond +-2^61 are pinned there.
  void MoveTo(int64_t x, int64_t y) override;
  void LineTo(int64_t x, int64_t y) override;
  void Line(int64_t fromX, int64_t fromY, int64_t x, int64_t y) override;
  void ThickLine(int64_t fromX, int64_t fromY, int64_t x, int64_t y) override;
  int64_t PenX() const { return penX_; }
  int64_t PenY() const { return penY_; }

  void FloodFill(int64_t x, int64_t y, int32_t borderColor) override;
  void FillRect(int64_t left, int64_t top, int64_t right, int64_t bottom) override;

  void SmoothPolyline(const std::vector<FinePoint>& points, double width) override;
  void DrawText(const TextLine& line) override;

 private:
  uint8_t* PixelAt(int32_t x, int32_t y) { return pixels_.data() + y * stride_ + x * size_t{3}; }
  bool HasColor(int32_t x, int32_t y, int32_t color) const { return Pixel(x, y) == color; }
  void Put(int32_t x, int32_t y, int32_t color);
  bool Inside(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // Plots steps [first, last) of the walk, all of which lie inside.
  void Walk(const LineWalk& walk, int64_t first, int64_t last);
  // Raises the coverage of the pixels near the segment a-b to what a line of the radius gives.
  void Cover(FinePoint a, FinePoint b, double radius);
  // Asks the cache for the coverage Cover will read.
  void Fetch(FinePoint a, FinePoint b, double radius) const;
  // Mixes the pen into [left, left + w) x [top, top + h) by the coverage bytes, which it clears.
  void Blend(uint8_t* coverage, size_t stride, int32_t left, int32_t top, int32_t w, int32_t h);

  int32_t width_;
  int32_t height_;
  size_t stride_;
  std::vector<uint8_t> pixels_;
  // The coverage of the smooth line being drawn, made at the first one, and the row chunks of
  // kChunk pixels it touches, each listed once, so that mixing it in costs the pixels near the
  // line.
  static constexpr int32_t kChunk = 8;
  struct Chunk {
    int32_t X, Y;
  };
  int32_t ChunksPerRow() const { return (width_ + kChunk - 1) / kChunk; }
  std::vector<uint8_t> coverage_;
  std::vector<uint8_t> chunkListed_;
  std::vector<Chunk> chunks_;
  // How many chunks and segments ahead their memory is asked of the cache.
  static constexpr size_t kAhead = 16;
  static constexpr size_t kAheadSegments = 2;
  int32_t pen_ = 0;
  int32_t brush_ = 0xFFFFFF;
  int64_t penX_ = 0;
  int64_t penY_ = 0;
};
