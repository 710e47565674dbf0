#pragma once

#include <optional>
#include <utility>

struct ClipVertex {
  long double X, Y;
};

struct ClipBounds {
  long double Left, Top, Right, Bottom;
};

// The part of the segment a-b inside the bounds, or nothing.
std::optional<std::pair<ClipVertex, ClipVertex>> ClipSegment(ClipVertex a, ClipVertex b,
                                                             const ClipBounds& box);
