#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "graph/Bitmap.h"

namespace {

using Pixels = std::set<std::pair<int64_t, int64_t>>;

// The integer walk written out step by step, as the pictures must follow it.
Pixels LiteralWalk(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int32_t w, int32_t h) {
  Pixels out;
  const int64_t dx = x1 > x0 ? x1 - x0 : x0 - x1, sx = x0 < x1 ? 1 : -1;
  const int64_t dy = -(y1 > y0 ? y1 - y0 : y0 - y1), sy = y0 < y1 ? 1 : -1;
  int64_t err = dx + dy;
  while (!(x0 == x1 && y0 == y1)) {
    if (x0 >= 0 && y0 >= 0 && x0 < w && y0 < h) out.insert({x0, y0});
    const int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
  return out;
}

Pixels Painted(const Bitmap& bm, int32_t color) {
  Pixels out;
  for (int32_t y = 0; y < bm.Height(); ++y) {
    for (int32_t x = 0; x < bm.Width(); ++x) {
      if (bm.Pixel(x, y) == color) out.insert({x, y});
    }
  }
  return out;
}

Pixels DrawLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int32_t w = 40, int32_t h = 30) {
  Bitmap bm(w, h);
  bm.SetPenColor(0x0000FF);
  bm.MoveTo(x0, y0);
  bm.LineTo(x1, y1);
  EXPECT_EQ(bm.PenX(), x1);
  EXPECT_EQ(bm.PenY(), y1);
  return Painted(bm, 0x0000FF);
}

TEST(Bitmap, FreshBitmapIsWhiteAndColorsUseLow24Bits) {
  Bitmap bm(3, 2);
  EXPECT_EQ(bm.Pixel(2, 1), 0xFFFFFF);
  EXPECT_EQ(bm.Stride(), 12u);
  bm.SetPixel(1, 1, 0x7F123456);
  EXPECT_EQ(bm.Pixel(1, 1), 0x123456);
  EXPECT_EQ(bm.Row(1)[3], 0x56);  // red first in the stored triple
  EXPECT_EQ(bm.Row(1)[5], 0x12);
  bm.SetPixel(-1, 0, 0);
  bm.SetPixel(3, 0, 0);
  EXPECT_EQ(Painted(bm, 0).size(), 0u);
}

TEST(Bitmap, LineFollowsTheIntegerWalk) {
  struct Case {
    int64_t x0, y0, x1, y1;
  };
  const Case cases[] = {
      {0, 0, 0, 0},
      {2, 3, 3, 3},
      {5, 5, 30, 12},
      {30, 12, 5, 5},
      {5, 5, 12, 29},
      {12, 29, 5, 5},
      {0, 0, 20, 20},
      {39, 0, 0, 29},
      {-10, 3, 50, 7},
      {20, -50, 21, 80},
      {-7, -9, 47, 38},
      {1, 1, 40, 1},
      {1, 5, 1, 30},
      {-3000000, 4, 3000000, 25},
      {17, -2500000, 19, 2500000},
      {-1000000, -999990, 1000000, 1000010},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1);
    EXPECT_EQ(DrawLine(c.x0, c.y0, c.x1, c.y1), LiteralWalk(c.x0, c.y0, c.x1, c.y1, 40, 30));
  }
}

TEST(Bitmap, RandomLinesThroughAndAroundTheBitmapMatchTheWalk) {
  std::mt19937_64 rng(42);
  std::uniform_int_distribution<int64_t> near(-60, 100), far(-200000, 200000);
  for (int i = 0; i < 400; ++i) {
    auto& d = i % 4 == 0 ? far : near;
    const int64_t x0 = d(rng), y0 = d(rng), x1 = near(rng), y1 = near(rng);
    SCOPED_TRACE(testing::Message() << x0 << "," << y0 << " -> " << x1 << "," << y1);
    ASSERT_EQ(DrawLine(x0, y0, x1, y1), LiteralWalk(x0, y0, x1, y1, 40, 30));
  }
}

TEST(Bitmap, LinesWithEndsFarBeyondAnyWalkDrawOnlyTheirVisiblePart) {
  const int64_t far = int64_t{1} << 40;
  Pixels diagonal;
  for (int64_t i = 0; i < 30; ++i) diagonal.insert({i, i});
  EXPECT_EQ(DrawLine(-far, -far, far, far), diagonal);
  Pixels row;
  for (int64_t x = 0; x < 40; ++x) row.insert({x, 7});
  EXPECT_EQ(DrawLine(far * 1000, 7, -far * 1000, 7), row);
  EXPECT_TRUE(DrawLine(-far, 50, far, 50).empty());
}

TEST(Bitmap, FillRectExcludesRightAndBottomAndClips) {
  Bitmap bm(10, 8);
  bm.SetBrushColor(0xC0C0C0);
  bm.FillRect(-5, 6, 3, 100);
  Pixels expected;
  for (int64_t y = 6; y < 8; ++y) {
    for (int64_t x = 0; x < 3; ++x) expected.insert({x, y});
  }
  EXPECT_EQ(Painted(bm, 0xC0C0C0), expected);
}

// A ring of border pixels with a diagonal gap: 4-connected filling must not leak through it.
Bitmap RingWithDiagonalGap() {
  Bitmap bm(12, 12);
  bm.SetPenColor(0);
  bm.MoveTo(2, 2);
  bm.LineTo(9, 2);
  bm.LineTo(9, 9);
  bm.LineTo(2, 9);
  bm.LineTo(2, 2);
  bm.SetPixel(9, 9, 0xFFFFFF);  // opens a corner only diagonally
  bm.SetPixel(10, 9, 0);
  bm.SetPixel(9, 10, 0);
  return bm;
}

TEST(Bitmap, FloodFillIsFourConnectedAndStopsAtTheBorder) {
  struct Case {
    int64_t x, y;
    int32_t border, brush;
    size_t filled;
  };
  const Case cases[] = {
      {5, 5, 0, 0x00FF00, 36},        // inside the ring
      {0, 0, 0, 0x00FF00, 78},        // outside: not the 29 border, 36 inner or 1 cut-off pixels
      {2, 2, 0, 0x00FF00, 0},         // seed on the border colour
      {-1, 5, 0, 0x00FF00, 0},        // seed outside the bitmap
      {5, 5, 0xFFFFFF, 0x00FF00, 0},  // border colour is the seed's colour
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    Bitmap bm = RingWithDiagonalGap();
    bm.SetBrushColor(c.brush);
    bm.FloodFill(c.x, c.y, c.border);
    EXPECT_EQ(Painted(bm, c.brush).size(), c.filled);
  }
}

TEST(Bitmap, FloodFillWithBrushEqualToBorderPaintsEveryOtherColour) {
  Bitmap bm(20, 20);
  bm.SetPixel(3, 3, 0x00FF00);
  bm.SetPenColor(0x0000FF);
  bm.MoveTo(0, 10);
  bm.LineTo(20, 10);  // not a border for this fill: different colour
  bm.SetBrushColor(0x123456);
  bm.FloodFill(10, 10, 0x123456);
  EXPECT_EQ(Painted(bm, 0x123456).size(), 400u);
}

TEST(Bitmap, FloodFillOverPixelsAlreadyInTheBrushColourTerminates) {
  Bitmap bm(15, 15);
  bm.SetPenColor(0x00FF00);
  bm.MoveTo(0, 7);
  bm.LineTo(15, 7);
  bm.SetBrushColor(0x00FF00);
  bm.FloodFill(10, 10, 0);
  EXPECT_EQ(Painted(bm, 0x00FF00).size(), 225u);
}

TEST(Bitmap, EmptyBitmapAcceptsEveryOperation) {
  Bitmap bm(-5, 0);
  EXPECT_EQ(bm.Width(), 0);
  bm.MoveTo(-3, -3);
  bm.LineTo(3, 3);
  bm.FloodFill(0, 0, 0);
  bm.FillRect(0, 0, 5, 5);
  EXPECT_EQ(bm.Height(), 0);
}

// Every pixel of a smooth polyline against every segment by brute force: the coverage is the
// distance of the pixel's centre from the nearest segment, given an edge half a pixel soft, and
// the pen is mixed into white by it.
uint8_t Coverage(const std::vector<FinePoint>& points, double width, int32_t x, int32_t y) {
  const double radius = width / 2, inner = std::max(radius - 0.5, 0.0);
  uint8_t most = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    const FinePoint a = points[i == 0 ? 0 : i - 1], b = points[i];
    const double dx = b.X - a.X, dy = b.Y - a.Y, length2 = dx * dx + dy * dy;
    const double rx = x + 0.5 - a.X, ry = y + 0.5 - a.Y;
    const double t = length2 > 0 ? std::clamp((rx * dx + ry * dy) * (1 / length2), 0.0, 1.0) : 0;
    const double ex = rx - t * dx, ey = ry - t * dy, d2 = ex * ex + ey * ey;
    if (d2 >= (radius + 0.5) * (radius + 0.5)) continue;
    const auto value = static_cast<uint8_t>(
        d2 <= inner * inner ? 255 : (radius + 0.5 - std::sqrt(d2)) * 255 + 0.5);
    most = std::max(most, value);
  }
  return most;
}

TEST(Bitmap, SmoothPolylinesCoverEachPixelByItsDistance) {
  std::mt19937 random(25);
  std::uniform_real_distribution<double> anywhere(-3, 40);
  std::vector<std::pair<std::vector<FinePoint>, double>> cases = {
      {{{2, 5.3}, {30, 5.3}}, 2},               // level
      {{{8.2, -2}, {9.1, 26}}, 2},              // steep, through two edges
      {{{1, 1}, {20, 20}, {35.5, 3.25}}, 1.5},  // a joint
      {{{17.5, 11.5}}, 2},                      // a dot
      {{{36.9, 0.2}, {36.1, 22.8}}, 1.5}};      // along the last, partial chunk
  for (int i = 0; i < 20; ++i) {
    cases.push_back({{{anywhere(random), anywhere(random)},
                      {anywhere(random), anywhere(random)},
                      {anywhere(random), anywhere(random)}},
                     i % 2 ? 2.0 : 1.5});
  }
  for (const auto& [points, width] : cases) {
    Bitmap bm(37, 23);
    bm.SetPenColor(0x2080F0);
    bm.SmoothPolyline(points, width);
    for (int32_t y = 0; y < bm.Height(); ++y) {
      for (int32_t x = 0; x < bm.Width(); ++x) {
        const int a = Coverage(points, width, x, y);
        const auto mix = [&](int pen) {
          const int v = 255 * (255 - a) + pen * a + 128;
          return (v + (v >> 8)) >> 8;
        };
        ASSERT_EQ(bm.Pixel(x, y), mix(0x20) << 16 | mix(0x80) << 8 | mix(0xF0))
            << x << "," << y << " of the case starting at " << points[0].X << "," << points[0].Y;
      }
    }
  }
}

}  // namespace
