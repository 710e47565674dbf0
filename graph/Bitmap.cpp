#include "graph/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The pixels within the reach of the box with corners a and b, or of the segment a-b.
PixelBox Around(FinePoint a, FinePoint b, double reach, int32_t width, int32_t height) {
  const auto clampTo = [](double v, int32_t size) {
    return static_cast<int32_t>(std::clamp(v, 0.0, static_cast<double>(size)));
  };
  return {clampTo(std::floor(std::min(a.X, b.X) - reach), width),
          clampTo(std::floor(std::min(a.Y, b.Y) - reach), height),
          clampTo(std::ceil(std::max(a.X, b.X) + reach), width),
          clampTo(std::ceil(std::max(a.Y, b.Y) + reach), height)};
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

struct PenChannels {
  int Value[3];
  uint8_t Eight[24];  // the pen's bytes for eight pixels
  explicit PenChannels(int32_t pen) : Value{pen & 0xFF, (pen >> 8) & 0xFF, (pen >> 16) & 0xFF} {
    for (int i = 0; i < 24; ++i) Eight[i] = static_cast<uint8_t>(Value[i % 3]);
  }
};

#if defined(__SSE2__)
// Mix's formula for a whole chunk at once, eight bytes of the 24 in sixteen-bit lanes at a time:
// no value of it leaves sixteen bits.
void MixEight(const PenChannels& pen, const uint8_t alpha[8], uint8_t* p) {
  uint8_t mixed[24];
  const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi16(255);
  const auto lanes = [&](const uint8_t* bytes) {
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes)), zero);
  };
  // The coverage of the pixel of each of bytes k .. k + 7.
  const auto spread = [&](int k) {
    const auto at = [&](int i) { return static_cast<short>(alpha[(k + i) / 3]); };
    return _mm_setr_epi16(at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7));
  };
  for (int k = 0; k < 24; k += 8) {
    const __m128i a = spread(k);
    __m128i v = _mm_add_epi16(_mm_mullo_epi16(lanes(p + k), _mm_sub_epi16(full, a)),
                              _mm_mullo_epi16(lanes(pen.Eight + k), a));
    v = _mm_add_epi16(v, _mm_set1_epi16(128));
    v = _mm_srli_epi16(_mm_add_epi16(v, _mm_srli_epi16(v, 8)), 8);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(mixed + k), _mm_packus_epi16(v, zero));
  }
  std::memcpy(p, mixed, 24);
}
#endif

// Mixes the pen into the n <= 8 pixels of a chunk by their coverage bytes, which it clears.
// Without branches per pixel: the formula leaves a pixel of coverage 0 as it is and gives the pen
// at 255.
void MixChunk(const PenChannels& pen, uint8_t* cover, uint8_t* p, int32_t n) {
  uint8_t alpha[8] = {};
  if (n == 8) {
    std::memcpy(alpha, cover, 8);
  } else {
    std::copy_n(cover, n, alpha);
  }
  uint64_t any = 0;
  std::memcpy(&any, alpha, 8);
  if (any == 0) return;  // most of a text mask is empty
#if defined(__SSE2__)
  if (n == 8) {
    MixEight(pen, alpha, p);
    std::memset(cover, 0, 8);
    return;
  }
#endif
  const int red = pen.Value[0], green = pen.Value[1], blue = pen.Value[2];
  // v / 255 rounded, exact for every v that arises here.
  const auto mixed = [](int pixel, int channel, int a) {
    const int v = pixel * (255 - a) + channel * a + 128;
    return static_cast<uint8_t>((v + (v >> 8)) >> 8);
  };
  for (int32_t x = 0; x < n; ++x, p += 3) {
    const int a = alpha[x];
    const uint8_t r = mixed(p[0], red, a), g = mixed(p[1], green, a), b = mixed(p[2], blue, a);
    p[0] = r;
    p[1] = g;
    p[2] = b;
  }
  std::fill_n(cover, n, 0);
}

// The coverage a segment gives: the distance of a pixel's centre from it, given an edge half a
// pixel soft, so that round caps and joins come from the distance to the ends.
class SegmentCover {
 public:
  SegmentCover(FinePoint a, FinePoint b, double radius)
      : a_(a),
        b_(b),
        dx_(b.X - a.X),
        dy_(b.Y - a.Y),
        length2_(dx_ * dx_ + dy_ * dy_),
        inverse_(length2_ > 0 ? 1 / length2_ : 0),
        reach_(radius + 0.5),
        inner2_(std::max(radius - 0.5, 0.0) * std::max(radius - 0.5, 0.0)),
        outer2_(reach_ * reach_),
        along_(std::fabs(dx_) > kTiny),
        across_(std::fabs(dy_) > kTiny),
        startSlope_(along_ ? dy_ / dx_ : 0),
        endOffset_(along_ ? length2_ / dx_ : 0),
        centreSlope_(across_ ? dx_ / dy_ : 0),
        halfWidth_(across_ ? reach_ * std::sqrt(length2_) / std::fabs(dy_) : 0) {}

  // The pixels of row y within [left, right) whose centres may lie within the reach: those near
  // the ends, and between them those whose nearest point of the segment lies inside it and who
  // are nearer across than the reach. Nearly level or upright segments leave a bound out.
  std::pair<int32_t, int32_t> Pixels(int32_t y, int32_t left, int32_t right) const {
    const double py = y + 0.5, h = py - a_.Y;
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    const auto take = [&](double from, double to) {
      lo = std::min(lo, from);
      hi = std::max(hi, to);
    };
    for (const FinePoint& end : {a_, b_}) {
      const double rest = outer2_ - (py - end.Y) * (py - end.Y);
      if (rest > 0) take(end.X - std::sqrt(rest), end.X + std::sqrt(rest));
    }
    double from = -std::numeric_limits<double>::infinity(), to = -from;
    if (along_) {
      const double start = a_.X - h * startSlope_, end = start + endOffset_;
      from = std::min(start, end);
      to = std::max(start, end);
    }
    if (across_) {
      const double centre = a_.X + h * centreSlope_;
      from = std::max(from, centre - halfWidth_);
      to = std::min(to, centre + halfWidth_);
    } else if (std::fabs(h) >= reach_ + 1) {
      to = from;
    }
    if (from < to) take(from, to);
    // Pixel x has its centre at x + 0.5; the slack keeps rounding from losing one.
    const auto clampTo = [&](double v) {
      return static_cast<int32_t>(std::clamp<double>(v, left, right));
    };
    return {clampTo(std::ceil(lo - 0.5 - kSlack)), clampTo(std::floor(hi - 0.5 + kSlack) + 1)};
  }

  // Raises the coverage of the row's pixels [from, to), `step` bytes apart, to the segment's.
  void Raise(uint8_t* cover, size_t step, int32_t from, int32_t to, double py) const {
    const double ry = py - a_.Y;
#if defined(__SSE2__)
    // Two pixels at a time and without branches, which mispredict as the pixels of a row go from
    // uncovered to soft to full: the operations of Value in both halves of the registers, the
    // cases by clamping. Beyond the reach the soft value is at most 0.5, within the inner radius
    // it is lifted past 255.
    const __m128d ax = _mm_set1_pd(a_.X), dx = _mm_set1_pd(dx_), dy = _mm_set1_pd(dy_);
    const __m128d across = _mm_set1_pd(ry), along = _mm_set1_pd(ry * dy_);
    const __m128d inverse = _mm_set1_pd(inverse_), inner2 = _mm_set1_pd(inner2_);
    const __m128d reach = _mm_set1_pd(reach_), zero = _mm_setzero_pd(), one = _mm_set1_pd(1);
    const __m128d full = _mm_set1_pd(255), half = _mm_set1_pd(0.5), lift = _mm_set1_pd(256);
    __m128d px = _mm_add_pd(_mm_set1_pd(from), _mm_set_pd(1.5, 0.5));
    for (int32_t x = from; x < to; x += 2, px = _mm_add_pd(px, _mm_set1_pd(2))) {
      const __m128d rx = _mm_sub_pd(px, ax);
      const __m128d t = _mm_min_pd(
          _mm_max_pd(_mm_mul_pd(_mm_add_pd(_mm_mul_pd(rx, dx), along), inverse), zero), one);
      const __m128d ex = _mm_sub_pd(rx, _mm_mul_pd(t, dx));
      const __m128d ey = _mm_sub_pd(across, _mm_mul_pd(t, dy));
      const __m128d d2 = _mm_add_pd(_mm_mul_pd(ex, ex), _mm_mul_pd(ey, ey));
      const __m128d soft = _mm_add_pd(_mm_mul_pd(_mm_sub_pd(reach, _mm_sqrt_pd(d2)), full), half);
      const __m128d lifted = _mm_add_pd(soft, _mm_and_pd(_mm_cmple_pd(d2, inner2), lift));
      const __m128i value = _mm_cvttpd_epi32(_mm_min_pd(_mm_max_pd(lifted, zero), full));
      uint8_t& first = cover[x * step];
      first = static_cast<uint8_t>(std::max<int>(first, _mm_cvtsi128_si32(value)));
      if (x + 1 == to) break;
      uint8_t& second = cover[(x + 1) * step];
      second =
          static_cast<uint8_t>(std::max<int>(second, _mm_cvtsi128_si32(_mm_srli_si128(value, 4))));
    }
#else
    for (int32_t x = from; x < to; ++x) cover[x * step] = std::max(cover[x * step], Value(x, ry));
#endif
  }

 private:
#if !defined(__SSE2__)
  // The coverage of pixel x of the row ry below the segment's start.
  uint8_t Value(int32_t x, double ry) const {
    const double rx = x + 0.5 - a_.X;
    const double t = std::clamp((rx * dx_ + ry * dy_) * inverse_, 0.0, 1.0);
    const double ex = rx - t * dx_, ey = ry - t * dy_, d2 = ex * ex + ey * ey;
    if (d2 >= outer2_) return 0;
    return static_cast<uint8_t>(d2 <= inner2_ ? 255 : (reach_ - std::sqrt(d2)) * 255 + 0.5);
  }
#endif

  static constexpr double kTiny = 1e-9;
  static constexpr double kSlack = 1.0 / 1024;
  FinePoint a_, b_;
  double dx_, dy_, length2_, inverse_, reach_, inner2_, outer2_;
  bool along_, across_;
  double startSlope_, endOffset_, centreSlope_, halfWidth_;
};

}  // namespace

void Bitmap::Blend(uint8_t* coverage, size_t stride, int32_t left, int32_t top, int32_t w,
                   int32_t h) {
  const PenChannels pen(pen_);
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* cover = coverage + y * stride;
    for (int32_t x = 0; x < w; x += kChunk) {
      MixChunk(pen, cover + x, PixelAt(left + x, top + y), std::min(kChunk, w - x));
    }
  }
}

// A polyline's segments combine by the largest coverage, so that a joint is not drawn twice.
void Bitmap::Fetch(FinePoint a, FinePoint b, double radius) const {
  const PixelBox box = Around(a, b, radius + 0.5, width_, height_);
  if (box.Empty()) return;
  for (int32_t y = box.Top; y < box.Bottom; ++y) {
    const uint8_t* row = coverage_.data() + static_cast<size_t>(y) * width_;
    __builtin_prefetch(row + box.Left, 1);
    __builtin_prefetch(row + box.Right - 1, 1);
  }
}

void Bitmap::Cover(FinePoint a, FinePoint b, double radius) {
  const auto [left, top, right, bottom] = Around(a, b, radius + 0.5, width_, height_);
  const size_t across = ChunksPerRow();
  const auto list = [&](int32_t x, int32_t y) {
    uint8_t& listed = chunkListed_[y * across + x / kChunk];
    if (listed) return;
    listed = 1;
    chunks_.push_back({x / kChunk * kChunk, y});
  };
  if (std::fabs(b.Y - a.Y) <= std::fabs(b.X - a.X)) {
    const SegmentCover segment(a, b, radius);
    for (int32_t y = top; y < bottom; ++y) {
      const auto [from, to] = segment.Pixels(y, left, right);
      if (from >= to) continue;
      for (int32_t x = from; x < to; x += kChunk) list(x, y);
      list(to - 1, y);
      segment.Raise(coverage_.data() + static_cast<size_t>(y) * width_, 1, from, to, y + 0.5);
    }
    return;
  }
  // A steep segment is walked by columns, so that each walk is long. Swapping the axes changes the
  // distance by no rounding: its sums and products only change order.
  const SegmentCover segment({a.Y, a.X}, {b.Y, b.X}, radius);
  for (int32_t x = left; x < right; ++x) {
    const auto [from, to] = segment.Pixels(x, top, bottom);
    for (int32_t y = from; y < to; ++y) list(x, y);
    segment.Raise(coverage_.data() + x, width_, from, to, x + 0.5);
  }
}

void Bitmap::SmoothPolyline(const std::vector<FinePoint>& points, double width) {
  const auto pixels = static_cast<size_t>(width_) * height_;
  if (coverage_.size() != pixels) {
    coverage_.assign(pixels, 0);
    chunkListed_.assign(static_cast<size_t>(ChunksPerRow()) * height_, 0);
  }
  for (const std::vector<FinePoint>& piece : Visible(points, width_, height_)) {
    Cover(piece.front(), piece.front(), width / 2);
    for (size_t i = 1; i < piece.size(); ++i) {
      // The coverage of a long line lies scattered as well; its next segments' is fetched ahead.
      if (i + kAheadSegments < piece.size()) {
        Fetch(piece[i + kAheadSegments - 1], piece[i + kAheadSegments], width / 2);
      }
      Cover(piece[i - 1], piece[i], width / 2);
    }
  }
  const PenChannels pen(pen_);
  const size_t across = ChunksPerRow();
  for (size_t i = 0; i < chunks_.size(); ++i) {
    // The chunks lie scattered over the picture; their pixels are fetched ahead.
    if (i + kAhead < chunks_.size()) {
      const Chunk& next = chunks_[i + kAhead];
      const uint8_t* pixels = PixelAt(next.X, next.Y);
      __builtin_prefetch(pixels, 1);
      __builtin_prefetch(pixels + 3 * std::min(kChunk, width_ - next.X) - 1, 1);
    }
    const auto [x, y] = chunks_[i];
    chunkListed_[static_cast<size_t>(y) * across + x / kChunk] = 0;
    uint8_t* cover = coverage_.data() + static_cast<size_t>(y) * width_ + x;
    MixChunk(pen, cover, PixelAt(x, y), std::min(kChunk, width_ - x));
  }
  chunks_.clear();
}

void Bitmap::DrawText(const TextLine& line) {
  const TextExtent extent = MeasureText(line.Text, line.Size);
  // Glyphs may reach a little beyond the logical box.
  const double reach = line.Size / 2;
  const PixelBox box = Around({line.X, line.Y}, {line.X + extent.Width, line.Y + extent.Height},
                              reach, width_, height_);
  if (box.Empty()) return;
  const int32_t w = box.Right - box.Left, h = box.Bottom - box.Top;
  std::vector<uint8_t> mask(static_cast<size_t>(w) * h);
  LoadedTextMask(line, mask.data(), static_cast<size_t>(w), w, h, box.Left, box.Top);
  Blend(mask.data(), static_cast<size_t>(w), box.Left, box.Top, w, h);
}
