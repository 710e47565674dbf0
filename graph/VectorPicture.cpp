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

// A thin run ends one pixel short of its last point, as the bitmap's line does.
std::vector<Point> ThinPixels(std::vector<Point> points) {
  const Point last = LastPixel(points[points.size() - 2], points.back());
  points.pop_back();
  if (!(last == points.back())) points.push_back(last);
  return points;
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

void VectorPicture::StartRun(RunKind kind, size_t begin, size_t end, float width) {
  SettleLastRun();
  runs_.push_back({pen_, kind, width, begin, end});
}

void VectorPicture::SettleLastRun() {
  if (runs_.empty() || runs_.back().Kind != RunKind::Thin ||
      runs_.back().End - runs_.back().Begin != 2)
    return;
  const Point from = points_[points_.size() - 2], to = points_.back();
  if (!(LastPixel(from, to) == from)) return;
  const int32_t color = runs_.back().Color;
  runs_.pop_back();
  points_.resize(points_.size() - 1);
  if (!runs_.empty() && runs_.back().Kind == RunKind::Dots && runs_.back().Color == color &&
      runs_.back().End == points_.size() - 1) {
    runs_.back().End = points_.size();
    return;
  }
  runs_.push_back({color, RunKind::Dots, 0, points_.size() - 1, points_.size()});
}

// A line that starts where the last one of the same kind and colour ended continues it.
void VectorPicture::Add(Point from, Point to, bool thick) {
  at_ = to;
  if (from == to && !thick) return;  // the walk fills nothing
  const RunKind kind = thick ? RunKind::Thick : RunKind::Thin;
  if (!runs_.empty()) {
    Run& last = runs_.back();
    if (last.Color == pen_ && last.Kind == kind && points_.back() == from) {
      points_.push_back(to);
      ++last.End;
      return;
    }
  }
  SettleLastRun();
  points_.push_back(from);
  points_.push_back(to);
  runs_.push_back({pen_, kind, 0, points_.size() - 2, points_.size()});
}

void VectorPicture::FloodFill(int64_t x, int64_t y, int32_t borderColor) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  if (!runs_.empty()) throw std::logic_error("a vector picture fills only its background");
  if (background_ != (borderColor & 0xFFFFFF)) background_ = brush_;
}

void VectorPicture::FillRect(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  if (left >= right || top >= bottom) return;
  const int32_t pen = pen_;
  pen_ = brush_;
  boxes_.push_back({brush_, left, top, right, bottom});
  StartRun(RunKind::Box, boxes_.size() - 1, boxes_.size());
  pen_ = pen;
}

void VectorPicture::SmoothPolyline(const std::vector<FinePoint>& points, double width) {
  if (points.empty()) return;
  finePoints_.insert(finePoints_.end(), points.begin(), points.end());
  StartRun(RunKind::Smooth, finePoints_.size() - points.size(), finePoints_.size(),
           static_cast<float>(width));
}

void VectorPicture::DrawText(const TextLine& line) {
  if (line.Text.empty()) return;
  labels_.push_back(line);
  StartRun(RunKind::Label, labels_.size() - 1, labels_.size());
}

// What is left of a thin run of a single pixel is a dot. A thick run fills the lower end point,
// so it keeps it.
void VectorPicture::VisitRun(size_t index, const std::function<void(const Shape&)>& visit) const {
  const Run& run = runs_[index];
  const auto first = points_.begin() + static_cast<ptrdiff_t>(run.Begin);
  const auto last = points_.begin() + static_cast<ptrdiff_t>(run.End);
  switch (run.Kind) {
    case RunKind::Dots:
      for (auto it = first; it != last; ++it) visit(Dot{run.Color, *it});
      return;
    case RunKind::Thick:
      visit(Polyline{run.Color, true, {first, last}});
      return;
    case RunKind::Thin: {
      std::vector<Point> points = ThinPixels({first, last});
      if (points.size() == 1) {
        visit(Dot{run.Color, points.front()});
      } else {
        visit(Polyline{run.Color, false, std::move(points)});
      }
      return;
    }
    case RunKind::Smooth:
      visit(SmoothLine{run.Color,
                       run.Width,
                       {finePoints_.begin() + static_cast<ptrdiff_t>(run.Begin),
                        finePoints_.begin() + static_cast<ptrdiff_t>(run.End)}});
      return;
    case RunKind::Box:
      visit(boxes_[run.Begin]);
      return;
    case RunKind::Label:
      visit(Label{run.Color, labels_[run.Begin]});
      return;
  }
}

std::vector<VectorPicture::Shape> VectorPicture::Shapes() const {
  std::vector<Shape> shapes;
  for (size_t i = 0; i < runs_.size(); ++i) {
    VisitRun(i, [&](const Shape& shape) { shapes.push_back(shape); });
  }
  return shapes;
}
