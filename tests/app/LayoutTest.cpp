#include <gtest/gtest.h>

#include "app/ChildKind.h"
#include "app/WindowLayout.h"

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
