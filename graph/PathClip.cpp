#include "graph/PathClip.h"

#include <algorithm>

// Liang-Barsky: the segment's parameter range narrowed edge by edge.
std::optional<std::pair<ClipVertex, ClipVertex>> ClipSegment(ClipVertex a, ClipVertex b,
                                                             const ClipBounds& box) {
  const long double dx = b.X - a.X, dy = b.Y - a.Y;
  long double t0 = 0, t1 = 1;
  const std::pair<long double, long double> edges[] = {
      {-dx, a.X - box.Left}, {dx, box.Right - a.X}, {-dy, a.Y - box.Top}, {dy, box.Bottom - a.Y}};
  for (const auto& [p, q] : edges) {
    if (p == 0) {
      if (q < 0) return std::nullopt;
      continue;
    }
    const long double t = q / p;
    if (p < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return std::nullopt;
  }
  return std::pair{ClipVertex{a.X + t0 * dx, a.Y + t0 * dy},
                   ClipVertex{a.X + t1 * dx, a.Y + t1 * dy}};
}
