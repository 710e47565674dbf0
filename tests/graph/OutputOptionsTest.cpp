#include "graph/OutputOptions.h"

#include <gtest/gtest.h>

#include "platform/Conversions.h"

namespace {

PrintSizeFields Picture(int32_t width, int32_t height, int32_t paperWidth = 4800,
                        int32_t paperHeight = 6600) {
  PrintSizeFields f;
  f.PictureWidth = width;
  f.PictureHeight = height;
  f.PaperWidth = paperWidth;
  f.PaperHeight = paperHeight;
  ResetPrintSize(f);
  return f;
}

struct Shown {
  std::string Percent;
  int32_t Arrows;
  std::string Width, Height;
};

void ExpectShown(const PrintSizeFields& f, const Shown& want) {
  EXPECT_EQ(f.Percent, want.Percent);
  EXPECT_EQ(f.Arrows, want.Arrows);
  EXPECT_EQ(f.Width, want.Width);
  EXPECT_EQ(f.Height, want.Height);
}

TEST(OutputOptions, ResetShowsThePictureAtHundredPercent) {
  PrintSizeFields f = Picture(632, 453);
  f.KeepProportions = true;
  f.Percent = "7";
  f.Arrows = 7;
  ResetPrintSize(f);
  ExpectShown(f, {"100", 100, "632", "453"});
  EXPECT_FALSE(f.KeepProportions);
}

TEST(OutputOptions, PercentLeft) {
  struct Case {
    std::string Typed;
    Shown Want;
  };
  const Case cases[] = {
      {"50", {"50", 50, "316", "226"}},
      {"600", {"600", 500, "3160", "2265"}},
      {"0", {"0", 1, "6", "4"}},
      {"-20", {"-20", 1, "6", "4"}},
      {"abc", {"abc", 100, "632", "453"}},
      {"", {"", 100, "632", "453"}},
      {" 200 ", {" 200 ", 200, "1264", "906"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Typed);
    PrintSizeFields f = Picture(632, 453);
    f.Percent = c.Typed;
    PercentLeft(f);
    ExpectShown(f, c.Want);
  }
}

TEST(OutputOptions, SideLeftWithProportionsKept) {
  struct Case {
    bool Width;  // which side was edited
    std::string Typed;
    Shown Want;
  };
  const Case cases[] = {
      {true, "1264", {"200", 200, "1264", "906"}},
      {true, "316", {"50", 50, "316", "226"}},
      {true, "x", {"100", 100, "632", "453"}},
      {true, "6320", {"1000", 500, "6320", "4530"}},
      {false, "906", {"200", 200, "1264", "906"}},
      {false, "??", {"100", 100, "632", "453"}},
      {false, "1", {"0", 1, "1", "1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Typed);
    PrintSizeFields f = Picture(632, 453);
    f.KeepProportions = true;
    (c.Width ? f.Width : f.Height) = c.Typed;
    c.Width ? WidthLeft(f) : HeightLeft(f);
    ExpectShown(f, c.Want);
  }
}

TEST(OutputOptions, SideLeftChangesNothingWithoutProportionsOrText) {
  PrintSizeFields free = Picture(632, 453);
  free.Width = "1000";
  WidthLeft(free);
  ExpectShown(free, {"100", 100, "1000", "453"});

  PrintSizeFields empty = Picture(632, 453);
  empty.KeepProportions = true;
  empty.Height = "";
  HeightLeft(empty);
  ExpectShown(empty, {"100", 100, "632", ""});
}

TEST(OutputOptions, ProductsWrapAt32Bits) {
  PrintSizeFields f = Picture(632, 453);
  f.KeepProportions = true;
  f.Width = "2000000000";
  WidthLeft(f);
  // 453 * 2e9 wraps to -238099456 before the division, as 32-bit fields do.
  EXPECT_EQ(f.Height, "-376739");
}

TEST(OutputOptions, FitToPage) {
  struct Case {
    int32_t PictureW, PictureH, PaperW, PaperH;
    bool Keep;
    Shown Want;
  };
  const Case cases[] = {
      {632, 453, 4800, 6600, false, {"759", 500, "4800", "6600"}},
      {632, 453, 4800, 6600, true, {"759", 500, "4800", "3440"}},
      // A landscape page: the percentage follows the height.
      {632, 453, 6600, 4800, false, {"1059", 500, "6600", "4800"}},
      {632, 453, 6600, 4800, true, {"1044", 500, "6600", "4730"}},
      // Pictures not wide (high) enough for the page's shape: the other side decides, so they fit.
      {632, 453, 6600, 4000, true, {"883", 500, "5580", "4000"}},
      {453, 632, 4800, 7000, true, {"1059", 500, "4800", "6696"}},
      {453, 632, 4800, 6600, true, {"1044", 500, "4730", "6600"}},
      // Square picture or square page still fit.
      {500, 500, 4800, 6600, true, {"960", 500, "4800", "4800"}},
      {632, 453, 5000, 5000, true, {"791", 500, "5000", "3583"}},
      {300, 300, 600, 600, true, {"200", 200, "600", "600"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.PictureW << "x" << c.PictureH << " on " << c.PaperW << "x"
                                    << c.PaperH << (c.Keep ? " kept" : ""));
    PrintSizeFields f = Picture(c.PictureW, c.PictureH, c.PaperW, c.PaperH);
    f.KeepProportions = c.Keep;
    FitToPage(f);
    ExpectShown(f, c.Want);
    if (c.Keep) {
      const PrintSize size = ConfirmedPrintSize(f);
      EXPECT_LE(size.Width, c.PaperW);
      EXPECT_LE(size.Height, c.PaperH);
    }
  }
}

TEST(OutputOptions, EmptyPictureLeavesScalingFieldsAlone) {
  for (const auto& [w, h] : {std::pair{0, 453}, std::pair{632, 0}, std::pair{0, 0}}) {
    PrintSizeFields f = Picture(w, h);
    f.KeepProportions = true;
    f.Width = "100";
    f.Height = "50";
    const PrintSizeFields before = f;
    WidthLeft(f);
    HeightLeft(f);
    FitToPage(f);
    f.KeepProportions = false;
    FitToPage(f);
    ExpectShown(f, {before.Percent, before.Arrows, before.Width, before.Height});
  }
}

TEST(OutputOptions, ConfirmationNeedsIntegers) {
  PrintSizeFields f = Picture(632, 453);
  f.Width = " 700";
  const PrintSize size = ConfirmedPrintSize(f);
  EXPECT_EQ(size.Width, 700);
  EXPECT_EQ(size.Height, 453);
  f.Height = "45x";
  try {
    ConfirmedPrintSize(f);
    FAIL() << "no conversion error";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'45x' is not a valid integer value");
  }
}

TEST(OutputOptions, CentreOnPage) {
  struct Case {
    int32_t PageW, PageH, W, H, X, Y;
  };
  const Case cases[] = {
      {4800, 6600, 632, 453, 2084, 3073},
      {4800, 6600, 4800, 3440, 0, 1580},
      {4800, 6600, 4801, 6603, 0, -1},  // a larger picture is cut equally, truncated toward 0
      {4800, 6600, 5000, 7000, -100, -200},
  };
  for (const Case& c : cases) {
    const PagePosition at = CentreOnPage(c.PageW, c.PageH, c.W, c.H);
    EXPECT_EQ(at.X, c.X) << c.W;
    EXPECT_EQ(at.Y, c.Y) << c.H;
  }
}

}  // namespace
