#include "graph/VectorPicture.h"

#include <algorithm>
#include <stdexcept>

namespace {

using Point = VectorPicture::Point;

constexpr int64_t kPositionLimit = int64_t{1} << 61;

Point Pinned(int64_t x, int64_t y) {
  return {std::clamp(x, -kPositionLimit, kPositionLimit),
          std::clamp(y, -kPositionLimit, kPositionLimit)};
}

// The last pixel the bitmap's line walk fills from `from` towards `to` (which it leaves out): one
// step short along the major axis, the minor axis rounded as the walk rounds it.
Point LastPixel(Point from, Point to) {
  const int64_t a = to.X > from.X ? to.X - from.X : from.X - to.X;
  const int64_t b = to.Y > from.Y ? to.Y - from.Y : from.Y - to.Y;
  const int64_t sx = to.X > from.X ? 1 : -1, sy = to.Y > from.Y ? 1 : -1;
  const int64_t major = std::max(a, b), minor = std::min(a, b), i = major - 1;
  const auto offset = static_cast<int64_t>((2 * static_cast<__int128>(minor) * i + major) /
                                           (2 * static_cast<__int128>(major)));
  return a >= b ? Point{from.X + sx * i, from.Y + sy * offset}
                : Point{from.X + sx * offset, from.Y + sy * i};
}

}  // namespace

VectorPicture::VectorPicture(int32_t width, int32_t height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {}

void VectorPicture::MoveTo(int64_t x, int64_t y) {
  at_ = Pinned(x, y);
}

void VectorPicture::LineTo(int64_t x, int64_t y) {
  Line(at_.X, at_.Y, x, y);
}

void VectorPicture::Line(int64_t fromX, int64_t fromY, int64_t x, int64_t y) {
  Add(Pinned(fromX, fromY), Pinned(x, y), false);
}

void VectorPicture::ThickLine(int64_t fromX, int64_t fromY, int64_t x, int64_t y) {
  Add(Pinned(fromX, fromY), Pinned(x, y), true);
}

// A line that starts where the last one of the same kind and colour ended continues it.
void VectorPicture::Add(Point from, Point to, bool thick) {
  at_ = to;
  if (from == to && !thick) return;  // the walk fills nothing
  if (!runs_.empty()) {
    Run& last = runs_.back();
    if (last.Color == pen_ && last.Thick == thick && last.Points.back() == from) {
      last.Points.push_back(to);
      return;
    }
  }
  runs_.push_back({pen_, thick, {from, to}});
}

void VectorPicture::FloodFill(int64_t x, int64_t y, int32_t borderColor) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  if (!runs_.empty()) throw std::logic_error("a vector picture fills only its background");
  if (background_ != (borderColor & 0xFFFFFF)) background_ = brush_;
}

// A thin run ends one pixel short of its last point, as the bitmap's line does; what is left of a
// single pixel is a dot. A thick run fills the lower end point, so it keeps it.
std::vector<VectorPicture::Shape> VectorPicture::Shapes() const {
  std::vector<Shape> shapes;
  shapes.reserve(runs_.size());
  for (const Run& run : runs_) {
    if (run.Thick) {
      shapes.emplace_back(Polyline{run.Color, true, run.Points});
      continue;
    }
    std::vector<Point> points = run.Points;
    const Point last = LastPixel(points[points.size() - 2], points.back());
    points.pop_back();
    if (!(last == points.back())) points.push_back(last);
    if (points.size() == 1) {
      shapes.emplace_back(Dot{run.Color, points.front()});
    } else {
      shapes.emplace_back(Polyline{run.Color, false, std::move(points)});
    }
  }
  return shapes;
}
