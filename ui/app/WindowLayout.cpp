#include "ui/app/WindowLayout.h"

#include <algorithm>

namespace {

// Splits length into count stretches; the last one takes the remainder.
std::vector<std::pair<int, int>> Split(int count, int length) {
  std::vector<std::pair<int, int>> parts;
  const int step = count > 0 ? length / count : 0;
  for (int i = 0; i < count; ++i) {
    const int start = i * step;
    parts.emplace_back(start, i + 1 == count ? length - start : step);
  }
  return parts;
}

}  // namespace

std::vector<TileRect> TileAbove(int count, int width, int height) {
  std::vector<TileRect> rects;
  for (auto [top, h] : Split(count, height)) rects.push_back({0, top, width, h});
  return rects;
}

std::vector<TileRect> TileSideBySide(int count, int width, int height) {
  std::vector<TileRect> rects;
  for (auto [left, w] : Split(count, width)) rects.push_back({left, 0, w, height});
  return rects;
}

std::vector<TileRect> LineUpIcons(int count, int iconWidth, int iconHeight, int width, int height) {
  std::vector<TileRect> rects;
  const int perRow = std::max(1, iconWidth > 0 ? width / iconWidth : 1);
  for (int i = 0; i < count; ++i) {
    const int row = i / perRow, column = i % perRow;
    rects.push_back({column * iconWidth, height - (row + 1) * iconHeight, iconWidth, iconHeight});
  }
  return rects;
}

TileRect CascadePosition(int index, int width, int height, int areaWidth, int areaHeight,
                         int step) {
  if (step <= 0 || index < 0) return {0, 0, width, height};
  const int room = std::min(areaWidth - width, areaHeight - height);
  const int places = room > 0 ? room / step + 1 : 1;
  const int offset = index % places * step;
  return {offset, offset, width, height};
}

TileRect PlaceBeside(const TileRect& frame, int width, int height, const TileRect& screen) {
  width = std::min(width, screen.Width);
  height = std::min(height, screen.Height);
  const int screenRight = screen.Left + screen.Width;
  const int roomRight = screenRight - (frame.Left + frame.Width);
  const int roomLeft = frame.Left - screen.Left;
  int left = 0;
  if (roomRight >= width)
    left = frame.Left + frame.Width;
  else if (roomLeft >= width)
    left = frame.Left - width;
  else
    left = roomRight >= roomLeft ? screenRight - width : screen.Left;
  const int top = std::clamp(frame.Top, screen.Top, screen.Top + screen.Height - height);
  return {left, top, width, height};
}
