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

// Where the index-th cascaded window of width x height goes in an area of areaWidth x areaHeight:
// step pixels further right and down than the one before, starting again at the top-left corner
// where the next step would push the window past the area. A window larger than the area goes
// to the corner; it keeps its size in every case.
TileRect CascadePosition(int index, int width, int height, int areaWidth, int areaHeight, int step);

// Where a window of width x height goes beside the frame's outer rectangle on a screen: right of
// the frame where it fits, else left of it, else on the roomier side overlapping the frame as
// little as the screen allows; level with the frame's top, kept on the screen and no larger.
TileRect PlaceBeside(const TileRect& frame, int width, int height, const TileRect& screen);
