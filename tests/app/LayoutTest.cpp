#include <gtest/gtest.h>

#include "ui/app/ChildKind.h"
#include "ui/app/WindowLayout.h"

TEST(ChildKindTest, NamePrefixDecidesTheKindByteForByte) {
  const struct {
    const char* Name;
    ChildKind Kind;
  } cases[] = {
      {"MDIChild", ChildKind::ProjectEditor},
      {"MDIChild_12", ChildKind::ProjectEditor},
      {"MDIChil", ChildKind::None},
      {"mdichild", ChildKind::None},
      {"Graph", ChildKind::Graph},
      {"Graph_1", ChildKind::Graph},
      {"Grap", ChildKind::None},
      {"GRAPH", ChildKind::None},
      {"Form4", ChildKind::ValueTable},
      {"Form45", ChildKind::ValueTable},
      {"Form5", ChildKind::None},
      {"", ChildKind::None},
      {"GraphMDIChild", ChildKind::Graph},
      {" MDIChild", ChildKind::None},
  };
  for (const auto& c : cases) EXPECT_EQ(KindOfName(c.Name), c.Kind) << c.Name;
}

TEST(WindowLayoutTest, TilesCoverTheAreaWithTheRemainderInTheLast) {
  EXPECT_TRUE(TileAbove(0, 300, 100).empty());
  EXPECT_EQ(TileAbove(1, 300, 100), (std::vector<TileRect>{{0, 0, 300, 100}}));
  EXPECT_EQ(TileAbove(3, 300, 100),
            (std::vector<TileRect>{{0, 0, 300, 33}, {0, 33, 300, 33}, {0, 66, 300, 34}}));
  EXPECT_EQ(TileSideBySide(2, 301, 80),
            (std::vector<TileRect>{{0, 0, 150, 80}, {150, 0, 151, 80}}));
  // More windows than pixels still gives every window a place and covers the area.
  const std::vector<TileRect> many = TileAbove(5, 10, 3);
  ASSERT_EQ(many.size(), 5u);
  EXPECT_EQ(many.back().Top + many.back().Height, 3);
}

TEST(WindowLayoutTest, IconsLineUpFromTheBottomLeftInRows) {
  EXPECT_EQ(LineUpIcons(3, 100, 20, 250, 200),
            (std::vector<TileRect>{{0, 180, 100, 20}, {100, 180, 100, 20}, {0, 160, 100, 20}}));
  // An area narrower than one icon still takes one icon per row.
  EXPECT_EQ(LineUpIcons(2, 100, 20, 50, 200),
            (std::vector<TileRect>{{0, 180, 100, 20}, {0, 160, 100, 20}}));
}

TEST(WindowLayoutTest, CascadeStepsDownUntilTheWindowWouldLeaveTheArea) {
  const struct {
    int Index, Width, Height, AreaWidth, AreaHeight;
    TileRect Expected;
  } cases[] = {
      {0, 100, 50, 400, 300, {0, 0, 100, 50}},
      {2, 100, 50, 400, 300, {40, 40, 100, 50}},
      // 300 - 250 leaves room for steps 0, 20, 40: the fourth window starts again at the corner.
      {3, 100, 250, 400, 300, {0, 0, 100, 250}},
      {2, 100, 250, 400, 300, {40, 40, 100, 250}},
      {1, 100, 300, 400, 300, {0, 0, 100, 300}},
      {1, 500, 600, 400, 300, {0, 0, 500, 600}},  // larger than the area: corner, size kept
  };
  for (const auto& c : cases)
    EXPECT_EQ(CascadePosition(c.Index, c.Width, c.Height, c.AreaWidth, c.AreaHeight, 20),
              c.Expected)
        << c.Index << " " << c.Width << "x" << c.Height;
}

TEST(WindowLayoutTest, HelpGoesBesideTheFrameAndStaysOnTheScreen) {
  const TileRect screen{0, 0, 1280, 1024};
  const struct {
    TileRect Frame;
    int Width, Height;
    TileRect Expected;
  } cases[] = {
      {{100, 50, 500, 400}, 600, 500, {600, 50, 600, 500}},    // right
      {{700, 50, 500, 400}, 600, 500, {100, 50, 600, 500}},    // left
      {{100, 50, 762, 613}, 720, 560, {560, 50, 720, 560}},    // roomier right side, overlapping
      {{200, 50, 1000, 613}, 720, 560, {0, 50, 720, 560}},     // roomier left side
      {{100, 900, 500, 100}, 600, 500, {600, 524, 600, 500}},  // lifted onto the screen
      {{0, 0, 100, 100}, 2000, 2000, {0, 0, 1280, 1024}},      // no larger than the screen
  };
  for (const auto& c : cases)
    EXPECT_EQ(PlaceBeside(c.Frame, c.Width, c.Height, screen), c.Expected)
        << c.Frame.Left << "," << c.Frame.Top;
}
