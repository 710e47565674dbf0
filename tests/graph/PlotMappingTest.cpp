#include <gtest/gtest.h>

#include <cfloat>
#include <optional>
#include <string>

#include "engine/QelParser.h"
#include "graph/GraphRenderer.h"
#include "graph/PlotMapping.h"
#include "platform/Conversions.h"
#include "platform/RegionalSettings.h"

namespace {

PlotGeometry Frame(const char* xFrom, const char* xTo, const char* yFrom, const char* yTo,
                   const char* width = "640", const char* height = "480") {
  ProjectSettings settings;
  settings.XFrom = xFrom;
  settings.XTo = xTo;
  settings.YFrom = yFrom;
  settings.YTo = yTo;
  settings.OutputWidth = width;
  settings.OutputHeight = height;
  TQelParser parser;
  parser.SetConvertAllColonsAndDots(true);
  return RenderGeometry(settings, parser);
}

// A frame of any extended values, beyond what a project's texts are read as.
PlotGeometry Plane(long double xFrom, long double xTo) {
  PlotGeometry frame;
  frame.XFrom = xFrom;
  frame.XTo = xTo;
  return frame;
}

class PlotMappingTest : public ::testing::Test {
 protected:
  void SetUp() override { SetRegionalDecimalSeparator(','); }
  void TearDown() override { SetRegionalDecimalSeparator('.'); }
};

// The origin the renderer draws its axes through reads as 0; the frame's edges read as its ranges.
TEST_F(PlotMappingTest, PixelsMapToTheRangesTheRendererDrewWith) {
  const PlotGeometry standard = Frame("-10", "10", "-10", "10");
  EXPECT_EQ(standard.OriginColumn, 320);
  EXPECT_EQ(ColumnX(standard, standard.OriginColumn), 0.0L);
  EXPECT_EQ(RowY(standard, standard.OriginRow), 0.0L);
  EXPECT_EQ(ColumnX(standard, 0), -10.0L);
  EXPECT_EQ(ColumnX(standard, 640), 10.0L);
  EXPECT_EQ(RowY(standard, 0), 10.0L);
  EXPECT_EQ(RowY(standard, 480), -10.0L);
  const PlotGeometry narrow = Frame("-1,5", "2", "-1", "1", "700", "100");
  EXPECT_EQ(narrow.OriginColumn, 300);
  EXPECT_NEAR(static_cast<double>(ColumnX(narrow, 300)), 0.0, 1e-15);
  EXPECT_EQ(RowY(narrow, 50), 0.0L);
}

// A value's pixel is where ColumnX and RowY read that value back.
TEST_F(PlotMappingTest, InversesFindTheValuesPixels) {
  const PlotGeometry frames[] = {Frame("-10", "10", "-10", "10"),
                                 Frame("-1,5", "2", "-1", "1", "700", "100"),
                                 Frame("1000000", "1000001", "-0,001", "0", "300", "200")};
  for (const PlotGeometry& frame : frames) {
    for (const long double at : {0.0L, 0.5L, 99.25L, 100.0L}) {
      EXPECT_NEAR(static_cast<double>(XColumn(frame, ColumnX(frame, at))), double(at), 1e-6);
      EXPECT_NEAR(static_cast<double>(YRow(frame, RowY(frame, at))), double(at), 1e-6);
    }
  }
}

TEST_F(PlotMappingTest, TextsCarryTheDigitsOnePixelJustifies) {
  struct Case {
    long double value, pixel;
    const char* text;
  } const cases[] = {
      {0.03125L, 0.03125L, "0,031"},
      {0.25L, 0.0001L, "0,25"},
      {0.2500000000001L, 0.001L, "0,25"},
      {-0.0001L, 0.03L, "0"},
      {1234.5678L, 10, "1235"},
      {-7, 0.5L, "-7"},
      {1e20L, 1e17L, "1e+20"},
      {1.25e-12L, 1e-14L, "1,25e-12"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PixelText(c.value, c.pixel), c.text) << static_cast<double>(c.value);
  }
}

// Neighbouring columns never read alike, however narrow or wide the range is.
TEST_F(PlotMappingTest, NeighbouringPixelsReadDifferently) {
  const char* const ranges[][2] = {
      {"-10", "10"}, {"0", "0,001"}, {"-1e9", "1e9"}, {"1", "1,000000001"}, {"-3e-14", "1e-14"}};
  for (const auto& [from, to] : ranges) {
    const PlotGeometry frame = Frame(from, to, from, to);
    const long double pixel = (frame.XTo - frame.XFrom) / frame.W;
    for (int column = 0; column < 640; column += 7) {
      EXPECT_LT(StrToFloat(PixelText(ColumnX(frame, column), pixel)),
                StrToFloat(PixelText(ColumnX(frame, column + 1), pixel)))
          << from << ".." << to << " column " << column;
    }
  }
}

TEST_F(PlotMappingTest, RectanglesBecomeRangesRoundedForTheNewFrame) {
  const PlotGeometry frame = Frame("-10", "10", "-10", "10");
  struct Case {
    const char* name;
    long double column1, row1, column2, row2;
    std::optional<ViewRanges> ranges;
  } const cases[] = {
      {"centre quarter", 160, 120, 480, 360, ViewRanges{"-5", "5", "-5", "5"}},
      {"corners swapped", 480, 360, 160, 120, ViewRanges{"-5", "5", "-5", "5"}},
      {"clamped to the picture", -50, -40, 320, 240, ViewRanges{"-10", "0", "0", "10"}},
      {"clamped on the far side", 600, 400, 900, 700, ViewRanges{"8,75", "10", "-10", "-6,6667"}},
      {"a few pixels wide", 100, 100, 103, 200, std::nullopt},
      {"a few pixels high", 100, 100, 200, 102, std::nullopt},
      {"outside the picture", 700, 0, 800, 100, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<ViewRanges> ranges =
        RectangleRanges(frame, 640, 480, c.column1, c.row1, c.column2, c.row2, 3, {});
    ASSERT_EQ(ranges.has_value(), c.ranges.has_value()) << c.name;
    if (!ranges) continue;
    EXPECT_EQ(ranges->XFrom, c.ranges->XFrom) << c.name;
    EXPECT_EQ(ranges->XTo, c.ranges->XTo) << c.name;
    EXPECT_EQ(ranges->YFrom, c.ranges->YFrom) << c.name;
    EXPECT_EQ(ranges->YTo, c.ranges->YTo) << c.name;
  }
}

TEST_F(PlotMappingTest, WheelStepsScaleAroundThePointerAndStopAtTheLimits) {
  const PlotGeometry standard = Frame("-10", "10", "-10", "10");
  struct Case {
    const char* name;
    PlotGeometry frame;
    long double column, row, factor;
    std::optional<ViewRanges> ranges;
  } const cases[] = {
      {"in at the origin", standard, 320, 240, 0.5L, ViewRanges{"-5", "5", "-5", "5"}},
      {"in off centre", standard, 480, 120, 0.5L, ViewRanges{"-2,5", "7,5", "-2,5", "7,5"}},
      {"out", standard, 320, 240, 2, ViewRanges{"-20", "20", "-20", "20"}},
      {"beyond the extended range", Plane(-LDBL_MAX / 2, LDBL_MAX / 2), 320, 240, 4, std::nullopt},
      {"below the extended precision", Plane(1, 1 + 2 * LDBL_EPSILON), 320, 240, 0.5L,
       std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<ViewRanges> ranges = ScaledRanges(c.frame, c.column, c.row, c.factor, {});
    ASSERT_EQ(ranges.has_value(), c.ranges.has_value()) << c.name;
    if (!ranges) continue;
    EXPECT_EQ(ranges->XFrom, c.ranges->XFrom) << c.name;
    EXPECT_EQ(ranges->XTo, c.ranges->XTo) << c.name;
    EXPECT_EQ(ranges->YFrom, c.ranges->YFrom) << c.name;
    EXPECT_EQ(ranges->YTo, c.ranges->YTo) << c.name;
  }
}

// A zoom stops where the drawing's mapping could overflow and, unless the curves are drawn exactly,
// where columns would be finer than the 8 decimals their x is read with.
TEST_F(PlotMappingTest, ZoomStopsAtTheLimitsOfTheDrawing) {
  ProjectSettings exactCurves;
  exactCurves.ExactCurves = true;
  const ZoomLimits exact = LimitsFor(exactCurves), plain = LimitsFor({});
  const struct {
    const char* name;
    PlotGeometry frame;
    long double factor;
    ZoomLimits limits;
    bool allowed;
  } cases[] = {
      {"out past 1e4900", Frame("-1e4900", "1e4900", "-1", "1"), 2, exact, false},
      {"in past 1e-4900", Frame("-1e-4898", "1e-4898", "-1", "1"), 0.5L, exact, false},
      {"in down to 8 decimals", Frame("-1e-5", "1e-5", "-1", "1"), 0.5L, plain, true},
      {"in past 8 decimals", Frame("-5e-6", "5e-6", "-1", "1"), 0.5L, plain, false},
      {"exact curves past 8 decimals", Frame("-5e-6", "5e-6", "-1", "1"), 0.5L, exact, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ScaledRanges(c.frame, 320, 240, c.factor, c.limits).has_value(), c.allowed) << c.name;
}

}  // namespace
