#pragma once

#include <vector>

struct TileRect {
  int Left, Top, Width, Height;
  bool operator==(const TileRect&) const = default;
};

// Tiling of count windows over a client area of width x height: one above the other, each as wide
// as the area, or side by side, each as high as the area. The last window takes what the division
// leaves, so the windows always cover the whole area.
std::vector<TileRect> TileAbove(int count, int width, int height);
std::vector<TileRect> TileSideBySide(int count, int width, int height);

// Places count minimised windows of iconWidth x iconHeight in rows from the bottom-left corner of
// the area upwards, as many to a row as fit (at least one).
std::vector<TileRect> LineUpIcons(int count, int iconWidth, int iconHeight, int width, int height);
