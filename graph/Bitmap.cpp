#include "graph/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>

#include "graph/PathClip.h"
#include "graph/TextFace.h"
#include "graph/VectorModule.h"

namespace {

constexpr int64_t kPositionLimit = int64_t{1} << 61;
// Below this many steps the walk's products fit 64 bits.
constexpr int64_t kShortLine = int64_t{1} << 30;

int64_t Pin(int64_t v) {
  return std::clamp(v, -kPositionLimit, kPositionLimit);
}

size_t RowBytes(int32_t width) {
  return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
}

}  // namespace

// The integer line walk in closed form. Every step moves along the major axis; the minor offset
// after i steps is floor((2*minor*i + major) / (2*major)), which is exactly where the error-term
// walk puts it. That lets a line be entered at its first visible step instead of walked from afar.
struct LineWalk {
  int64_t x0, y0, sx, sy, a, b;  // a = |dx|, b = |dy|

  int64_t Steps() const { return std::max(a, b); }
  int64_t Minor(int64_t i) const {
    const int64_t major = std::max(a, b), minor = std::min(a, b);
    if (major < kShortLine) return (2 * minor * i + major) / (2 * major);
    const auto numerator = 2 * static_cast<unsigned __int128>(minor) * i + major;
    return static_cast<int64_t>(numerator / (2 * static_cast<unsigned __int128>(major)));
  }
  int64_t X(int64_t i) const { return x0 + sx * (a >= b ? i : Minor(i)); }
  int64_t Y(int64_t i) const { return y0 + sy * (a >= b ? Minor(i) : i); }
};

namespace {

// First i in [0, n] for which pred holds, pred being false...true over the range.
template <typename Pred>
int64_t FirstWhere(int64_t n, Pred pred) {
  int64_t lo = 0, hi = n;
  while (lo < hi) {
    const int64_t mid = lo + (hi - lo) / 2;
    if (pred(mid)) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

// The steps [first, last) of the n whose coordinate lies in [lo, hi). The coordinate c(i) runs
// monotonically from c0 towards c1 in direction s; on a major axis it moves one every step.
template <typename Coord>
std::pair<int64_t, int64_t> StepsWithin(int64_t n, int64_t c0, int64_t c1, int64_t s, bool major,
                                        int64_t lo, int64_t hi, Coord c) {
  if (std::min(c0, c1) >= lo && std::max(c0, c1) < hi) return {0, n};
  if (major) {
    const int64_t first = s > 0 ? lo - c0 : c0 - hi + 1;
    const int64_t last = s > 0 ? hi - c0 : c0 - lo + 1;
    return {std::clamp<int64_t>(first, 0, n), std::clamp<int64_t>(last, 0, n)};
  }
  if (s > 0) {
    return {FirstWhere(n, [&](int64_t i) { return c(i) >= lo; }),
            FirstWhere(n, [&](int64_t i) { return c(i) >= hi; })};
  }
  return {FirstWhere(n, [&](int64_t i) { return c(i) < hi; }),
          FirstWhere(n, [&](int64_t i) { return c(i) < lo; })};
}

}  // namespace

Bitmap::Bitmap(int32_t width, int32_t height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      stride_(RowBytes(width_)),
      pixels_(stride_ * height_, 0xFF) {}

int32_t Bitmap::Pixel(int32_t x, int32_t y) const {
  const uint8_t* p = Row(y) + x * size_t{3};
  return p[0] | (p[1] << 8) | (p[2] << 16);
}

void Bitmap::Put(int32_t x, int32_t y, int32_t color) {
  uint8_t* p = PixelAt(x, y);
  p[0] = color & 0xFF;
  p[1] = (color >> 8) & 0xFF;
  p[2] = (color >> 16) & 0xFF;
}

void Bitmap::SetPixel(int64_t x, int64_t y, int32_t color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Put(static_cast<int32_t>(x), static_cast<int32_t>(y), color & 0xFFFFFF);
}

void Bitmap::MoveTo(int64_t x, int64_t y) {
  penX_ = Pin(x);
  penY_ = Pin(y);
}

void Bitmap::LineTo(int64_t x, int64_t y) {
  Line(penX_, penY_, x, y);
}

void Bitmap::Line(int64_t fromX, int64_t fromY, int64_t x, int64_t y) {
  fromX = Pin(fromX);
  fromY = Pin(fromY);
  x = Pin(x);
  y = Pin(y);
  const LineWalk walk{fromX,
                      fromY,
                      fromX < x ? 1 : -1,
                      fromY < y ? 1 : -1,
                      x > fromX ? x - fromX : fromX - x,
                      y > fromY ? y - fromY : fromY - y};
  penX_ = x;
  penY_ = y;
  const int64_t n = walk.Steps();
  const auto [xFirst, xLast] = StepsWithin(n, walk.x0, x, walk.sx, walk.a >= walk.b, 0, width_,
                                           [&](int64_t i) { return walk.X(i); });
  const auto [yFirst, yLast] = StepsWithin(n, walk.y0, y, walk.sy, walk.b >= walk.a, 0, height_,
                                           [&](int64_t i) { return walk.Y(i); });
  Walk(walk, std::max(xFirst, yFirst), std::min(xLast, yLast));
}

void Bitmap::ThickLine(int64_t fromX, int64_t fromY, int64_t x, int64_t y) {
  Line(fromX, fromY, x, y);
  Line(fromX, fromY + 1, x, y + 1);
  Line(x, y + 1, x, y);
}

void Bitmap::Walk(const LineWalk& walk, int64_t first, int64_t last) {
  if (first >= last) return;
  // Entering at step 0 needs none of the closed form's divisions.
  const int64_t px = first ? walk.X(first) : walk.x0, py = first ? walk.Y(first) : walk.y0;
  const __int128 nx = px > walk.x0 ? px - walk.x0 : walk.x0 - px;
  const __int128 ny = py > walk.y0 ? py - walk.y0 : walk.y0 - py;
  auto err = static_cast<int64_t>(walk.a - walk.b - walk.b * nx + walk.a * ny);
  const uint8_t red = pen_ & 0xFF, green = (pen_ >> 8) & 0xFF, blue = (pen_ >> 16) & 0xFF;
  const ptrdiff_t stepX = 3 * walk.sx, stepY = static_cast<ptrdiff_t>(stride_) * walk.sy;
  uint8_t* p = PixelAt(static_cast<int32_t>(px), static_cast<int32_t>(py));
  for (int64_t i = first;; ++i) {
    p[0] = red;
    p[1] = green;
    p[2] = blue;
    if (i + 1 == last) break;  // never step the pointer off the pixels
    // Branch-free steps: the direction of the next pixel is hard to predict on curves.
    const int64_t e2 = 2 * err;
    const bool alongX = e2 >= -walk.b, alongY = e2 <= walk.a;
    err += (alongY ? walk.a : 0) - (alongX ? walk.b : 0);
    p += (alongX ? stepX : 0) + (alongY ? stepY : 0);
  }
}

void Bitmap::FillRect(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  const auto x0 = static_cast<int32_t>(std::clamp<int64_t>(left, 0, width_));
  const auto x1 = static_cast<int32_t>(std::clamp<int64_t>(right, 0, width_));
  const auto y0 = static_cast<int32_t>(std::clamp<int64_t>(top, 0, height_));
  const auto y1 = static_cast<int32_t>(std::clamp<int64_t>(bottom, 0, height_));
  if (x0 >= x1 || y0 >= y1) return;
  for (int32_t x = x0; x < x1; ++x) Put(x, y0, brush_);
  const size_t bytes = static_cast<size_t>(x1 - x0) * 3;
  for (int32_t y = y0 + 1; y < y1; ++y) std::memcpy(PixelAt(x0, y), PixelAt(x0, y0), bytes);
}

namespace {

// Scan-line fill over the bitmap's public surface. When the brush differs from the border, painted
// pixels stay fillable, so a visited mark keeps the fill from revisiting them.
class Filler {
 public:
  Filler(Bitmap& bitmap, int32_t border)
      : bm_(bitmap),
        border_(border),
        visited_(bitmap.BrushColor() == border
                     ? 0
                     : static_cast<size_t>(bitmap.Width()) * bitmap.Height()) {}

  void Run(int32_t x, int32_t y) {
    seeds_.emplace_back(x, y);
    while (!seeds_.empty()) {
      const auto [sx, sy] = seeds_.back();
      seeds_.pop_back();
      if (Open(sx, sy)) FillSpan(sx, sy);
    }
  }

 private:
  bool Open(int32_t x, int32_t y) const {
    return bm_.Pixel(x, y) != border_ && (visited_.empty() || !visited_[Index(x, y)]);
  }
  size_t Index(int32_t x, int32_t y) const { return static_cast<size_t>(y) * bm_.Width() + x; }

  void FillSpan(int32_t x, int32_t y) {
    int32_t left = x, right = x;
    while (left > 0 && Open(left - 1, y)) --left;
    while (right + 1 < bm_.Width() && Open(right + 1, y)) ++right;
    for (int32_t i = left; i <= right; ++i) {
      if (!visited_.empty()) visited_[Index(i, y)] = true;
      bm_.SetPixel(i, y, bm_.BrushColor());
    }
    if (y > 0) PushRuns(left, right, y - 1);
    if (y + 1 < bm_.Height()) PushRuns(left, right, y + 1);
  }

  void PushRuns(int32_t left, int32_t right, int32_t y) {
    bool inRun = false;
    for (int32_t i = left; i <= right; ++i) {
      const bool open = Open(i, y);
      if (open && !inRun) seeds_.emplace_back(i, y);
      inRun = open;
    }
  }

  Bitmap& bm_;
  int32_t border_;
  std::vector<bool> visited_;
  std::vector<std::pair<int32_t, int32_t>> seeds_;
};

bool IsUniform(const Bitmap& bm) {
  const size_t rowBytes = static_cast<size_t>(bm.Width()) * 3;
  const uint8_t* first = bm.Row(0);
  for (size_t i = 3; i < rowBytes; ++i) {
    if (first[i] != first[i - 3]) return false;
  }
  for (int32_t y = 1; y < bm.Height(); ++y) {
    if (std::memcmp(bm.Row(y), first, rowBytes) != 0) return false;
  }
  return true;
}

}  // namespace

void Bitmap::FloodFill(int64_t x, int64_t y, int32_t borderColor) {
  const int32_t border = borderColor & 0xFFFFFF;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  if (HasColor(static_cast<int32_t>(x), static_cast<int32_t>(y), border)) return;
  // A uniform bitmap is one region; filling it whole gives the same picture far faster.
  if (IsUniform(*this)) {
    FillRect(0, 0, width_, height_);
    return;
  }
  Filler(*this, border).Run(static_cast<int32_t>(x), static_cast<int32_t>(y));
}

namespace {

// Smooth shapes and text are drawn into a coverage mask, then mixed in; far points are cut this far
// outside first.
constexpr long double kSmoothMargin = 8;

struct PixelBox {
  int32_t Left, Top, Right, Bottom;
  bool Empty() const { return Left >= Right || Top >= Bottom; }
};

PixelBox Around(const std::vector<FinePoint>& points, size_t first, size_t last, double reach,
                int32_t width, int32_t height) {
  double left = points[first].X, right = left, top = points[first].Y, bottom = top;
  for (size_t i = first + 1; i < last; ++i) {
    left = std::min(left, points[i].X);
    right = std::max(right, points[i].X);
    top = std::min(top, points[i].Y);
    bottom = std::max(bottom, points[i].Y);
  }
  const auto clampTo = [](double v, int32_t size) {
    return static_cast<int32_t>(std::clamp(v, 0.0, static_cast<double>(size)));
  };
  return {clampTo(std::floor(left - reach), width), clampTo(std::floor(top - reach), height),
          clampTo(std::ceil(right + reach), width), clampTo(std::ceil(bottom + reach), height)};
}

// The polyline's pieces within the margin around the picture.
std::vector<std::vector<FinePoint>> Visible(const std::vector<FinePoint>& points, int32_t width,
                                            int32_t height) {
  const ClipBounds box{-kSmoothMargin, -kSmoothMargin, width + kSmoothMargin,
                       height + kSmoothMargin};
  std::vector<std::vector<FinePoint>> pieces;
  if (points.size() == 1) {
    const FinePoint p = points.front();
    if (p.X >= box.Left && p.X <= box.Right && p.Y >= box.Top && p.Y <= box.Bottom) {
      pieces.push_back({p});
    }
    return pieces;
  }
  bool joined = false;
  for (size_t i = 1; i < points.size(); ++i) {
    const auto inside = [&](const FinePoint& p) {
      return p.X >= box.Left && p.X <= box.Right && p.Y >= box.Top && p.Y <= box.Bottom;
    };
    const auto part =
        inside(points[i - 1]) && inside(points[i])
            ? std::optional<std::pair<ClipVertex, ClipVertex>>(
                  {{points[i - 1].X, points[i - 1].Y}, {points[i].X, points[i].Y}})
            : ClipSegment({points[i - 1].X, points[i - 1].Y}, {points[i].X, points[i].Y}, box);
    if (!part) {
      joined = false;
      continue;
    }
    const FinePoint a{static_cast<double>(part->first.X), static_cast<double>(part->first.Y)};
    const FinePoint b{static_cast<double>(part->second.X), static_cast<double>(part->second.Y)};
    if (!joined || !(pieces.back().back() == a)) pieces.push_back({a});
    pieces.back().push_back(b);
    joined = b == points[i];
  }
  return pieces;
}

}  // namespace

void Bitmap::Blend(uint8_t* coverage, size_t stride, int32_t left, int32_t top, int32_t w,
                   int32_t h) {
  const int channel[3] = {pen_ & 0xFF, (pen_ >> 8) & 0xFF, (pen_ >> 16) & 0xFF};
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* cover = coverage + y * stride;
    uint8_t* p = PixelAt(left, top + y);
    for (int32_t x = 0; x < w; ++x, p += 3) {
      // Most of a tile is empty: eight bytes are skipped at once.
      uint64_t eight = 0;
      if ((x & 7) == 0 && x + 8 <= w && (std::memcpy(&eight, cover + x, 8), eight == 0)) {
        x += 7;
        p += 21;
        continue;
      }
      const int a = cover[x];
      if (a == 0) continue;
      cover[x] = 0;
      if (a == 255) {
        p[0] = static_cast<uint8_t>(channel[0]);
        p[1] = static_cast<uint8_t>(channel[1]);
        p[2] = static_cast<uint8_t>(channel[2]);
        continue;
      }
      for (int c = 0; c < 3; ++c) {
        // v / 255 rounded, exact for every v that arises here.
        const int v = p[c] * (255 - a) + channel[c] * a + 128;
        p[c] = static_cast<uint8_t>((v + (v >> 8)) >> 8);
      }
    }
  }
}

// The coverage of each pixel is the distance of its centre from the segment, given an edge half a
// pixel soft: round caps and joins come from the distance to the ends, and a polyline's segments
// combine by the largest coverage, so that a joint is not drawn twice.
void Bitmap::Cover(FinePoint a, FinePoint b, double radius) {
  const double reach = radius + 0.5;
  const auto clampTo = [](double v, int32_t size) {
    return static_cast<int32_t>(std::clamp(v, 0.0, static_cast<double>(size)));
  };
  const int32_t left = clampTo(std::floor(std::min(a.X, b.X) - reach), width_);
  const int32_t right = clampTo(std::ceil(std::max(a.X, b.X) + reach), width_);
  const int32_t top = clampTo(std::floor(std::min(a.Y, b.Y) - reach), height_);
  const int32_t bottom = clampTo(std::ceil(std::max(a.Y, b.Y) + reach), height_);
  const double dx = b.X - a.X, dy = b.Y - a.Y, length2 = dx * dx + dy * dy;
  const double inverse = length2 > 0 ? 1 / length2 : 0;
  // Along a row only the pixels near the segment's centre line need to be looked at.
  const double half = std::fabs(dy) > 1e-9 ? reach * std::sqrt(length2) / std::fabs(dy) : 0;
  // Centres within inner are covered whole, those beyond outer not at all.
  const double inner = std::max(radius - 0.5, 0.0), inner2 = inner * inner;
  const double outer2 = (radius + 0.5) * (radius + 0.5);
  for (int32_t y = top; y < bottom; ++y) {
    const double py = y + 0.5;
    int32_t from = left, to = right;
    if (half > 0) {
      const double centre = a.X + (py - a.Y) * dx / dy;
      from = std::max(left, clampTo(std::floor(centre - half), width_));
      to = std::min(right, clampTo(std::ceil(centre + half), width_));
    }
    if (from >= to) continue;
    for (int32_t x = from; x < to; x += kTile) tiles_[TileIndex(x, y)] = 1;
    tiles_[TileIndex(to - 1, y)] = 1;
    uint8_t* cover = coverage_.data() + static_cast<size_t>(y) * width_;
    for (int32_t x = from; x < to; ++x) {
      if (cover[x] == 255) continue;  // an earlier segment covers it whole
      const double px = x + 0.5;
      const double t = std::clamp(((px - a.X) * dx + (py - a.Y) * dy) * inverse, 0.0, 1.0);
      const double ex = px - a.X - t * dx, ey = py - a.Y - t * dy, d2 = ex * ex + ey * ey;
      if (d2 >= outer2) continue;
      const auto value =
          static_cast<uint8_t>(d2 <= inner2 ? 255 : (radius + 0.5 - std::sqrt(d2)) * 255 + 0.5);
      cover[x] = std::max(cover[x], value);
    }
  }
}

void Bitmap::SmoothPolyline(const std::vector<FinePoint>& points, double width) {
  const auto pixels = static_cast<size_t>(width_) * height_;
  if (coverage_.size() != pixels) {
    coverage_.assign(pixels, 0);
    tiles_.assign(TileIndex(width_ - 1, height_ - 1) + 1, 0);
  }
  for (const std::vector<FinePoint>& piece : Visible(points, width_, height_)) {
    Cover(piece.front(), piece.front(), width / 2);
    for (size_t i = 1; i < piece.size(); ++i) Cover(piece[i - 1], piece[i], width / 2);
  }
  const int32_t across = (width_ + kTile - 1) / kTile;
  for (size_t tile = 0; tile < tiles_.size(); ++tile) {
    if (!tiles_[tile]) continue;
    tiles_[tile] = 0;
    const int32_t left = static_cast<int32_t>(tile % across) * kTile;
    const int32_t top = static_cast<int32_t>(tile / across) * kTile;
    const int32_t w = std::min(kTile, width_ - left), h = std::min(kTile, height_ - top);
    Blend(coverage_.data() + static_cast<size_t>(top) * width_ + left, width_, left, top, w, h);
  }
}

void Bitmap::DrawText(const TextLine& line) {
  const TextExtent extent = MeasureText(line.Text, line.Size);
  // Glyphs may reach a little beyond the logical box.
  const double reach = line.Size / 2;
  const std::vector<FinePoint> corners{{line.X, line.Y},
                                       {line.X + extent.Width, line.Y + extent.Height}};
  const PixelBox box = Around(corners, 0, 2, reach, width_, height_);
  if (box.Empty()) return;
  const int32_t w = box.Right - box.Left, h = box.Bottom - box.Top;
  std::vector<uint8_t> mask(static_cast<size_t>(w) * h);
  LoadedTextMask(line, mask.data(), static_cast<size_t>(w), w, h, box.Left, box.Top);
  Blend(mask.data(), static_cast<size_t>(w), box.Left, box.Top, w, h);
}
