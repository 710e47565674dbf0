#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "components/QelGraphics.h"
#include "engine/QelParser.h"
#include "graph/Bitmap.h"
#include "platform/RegionalSettings.h"

namespace {

constexpr int32_t kWhite = 0xFFFFFF, kRed = 0x0000FF, kSilver = 0xC0C0C0;

int Count(const Bitmap& bm, int32_t color) {
  int n = 0;
  for (int32_t y = 0; y < bm.Height(); ++y) {
    for (int32_t x = 0; x < bm.Width(); ++x) n += bm.Pixel(x, y) == color;
  }
  return n;
}

TQelGraphics OneCurve(const std::string& expression, const std::string& step) {
  SetRegionalDecimalSeparator('.');
  TQelGraphics g;
  g.SetExpressions({expression});
  g.SetSteps({step});
  g.SetColors({"255"});
  return g;
}

TEST(QelGraphics, DefaultsDrawSinglePixelAxesAndAPointCurve) {
  TQelGraphics g = OneCurve("x", "0.1");
  Bitmap bm(640, 480);
  EXPECT_EQ(g.DrawToCanvas(bm), 0);
  EXPECT_EQ(Count(bm, kSilver), 0);  // the silver rectangle was flooded white
  EXPECT_EQ(bm.Pixel(0, 0), kWhite);
  for (int32_t x = 1; x < 640; ++x) ASSERT_NE(bm.Pixel(x, 240), kWhite) << x;
  for (int32_t y = 1; y < 480; ++y) ASSERT_NE(bm.Pixel(320, y), kWhite) << y;
  EXPECT_EQ(bm.Pixel(100, 241), kWhite);  // one pixel wide
  EXPECT_EQ(bm.Pixel(321, 100), kWhite);
  // p = 3: samples at u = 1, 4, ... 640; each sets (u - 1, row - 1); the last lies above the
  // picture.
  EXPECT_EQ(Count(bm, kRed), 213);
  EXPECT_EQ(bm.Pixel(0, 478), kRed);
  EXPECT_EQ(bm.Pixel(3, 476), kRed);
}

TEST(QelGraphics, ClearCanvasPaintsTheFrameSilverBeforeTheFlood) {
  struct Case {
    bool clear;
    int32_t background;
    int32_t outside;  // a pixel beyond the W x H frame
    int32_t inside;
  };
  const Case cases[] = {
      {true, kWhite, kWhite, kWhite},        // silver flooded back to white; the rest stays white
      {true, 0x00FF00, 0x00FF00, 0x00FF00},  // everything connected to the seed turns green
      {false, kWhite, kWhite, kWhite},
  };
  for (const auto& c : cases) {
    TQelGraphics g;
    g.SetClearCanvas(c.clear);
    g.SetBackground(c.background);
    g.SetCross(false);
    g.SetDestWidth(50);
    g.SetDestHeight(40);
    Bitmap bm(80, 60);
    EXPECT_EQ(g.DrawToCanvas(bm), 0);
    EXPECT_EQ(bm.Pixel(70, 50), c.outside);
    EXPECT_EQ(bm.Pixel(20, 20), c.inside);
  }
}

TEST(QelGraphics, ReturnsTheLastRejectedLine) {
  struct Case {
    std::vector<std::string> expressions;
    int32_t result;
  };
  const Case cases[] = {
      {{"x", "sin(", "(("}, 3},
      {{"x", "sin(", "x"}, 2},
      {{"x", "x*2"}, 0},
      {{"x", ""}, 2},  // empty lines are not skipped
      {{}, 0},
  };
  for (const auto& c : cases) {
    SetRegionalDecimalSeparator('.');
    TQelGraphics g;
    g.SetExpressions(c.expressions);
    g.SetSteps(std::vector<std::string>(c.expressions.size(), "1"));
    g.SetColors(std::vector<std::string>(c.expressions.size(), "0"));
    Bitmap bm(640, 480);
    EXPECT_EQ(g.DrawToCanvas(bm), c.result);
  }
}

TEST(QelGraphics, ShortStepOrColourListIsAnIndexError) {
  struct Case {
    std::vector<std::string> steps, colors;
  };
  const Case cases[] = {{{"1"}, {"0", "0"}}, {{"1", "1"}, {"0"}}};
  for (const auto& c : cases) {
    TQelGraphics g;
    g.SetExpressions({"x", "x*2"});
    g.SetSteps(c.steps);
    g.SetColors(c.colors);
    Bitmap bm(640, 480);
    try {
      g.DrawToCanvas(bm);
      FAIL() << "no error";
    } catch (const std::out_of_range& e) {
      EXPECT_STREQ(e.what(), "List index out of bounds (1)");
    }
  }
}

TEST(QelGraphics, Umrechnen) {
  EXPECT_EQ(TQelGraphics::UmrechnenX(10, 640, -10, 10), 640);
  EXPECT_EQ(TQelGraphics::UmrechnenX(0, 640, -10, 10), 320);
  EXPECT_EQ(TQelGraphics::UmrechnenX(-1.5L, 700, -1.5, 2), 0);
  EXPECT_EQ(TQelGraphics::UmrechnenY(10, 480, -10, 10), 0);
  EXPECT_EQ(TQelGraphics::UmrechnenY(-10, 480, -10, 10), 480);
  EXPECT_EQ(TQelGraphics::UmrechnenY(0.1L, 480, -10, 10), 237);
  EXPECT_THROW(TQelGraphics::UmrechnenX(1, 640, 5, 5), EngineError);
  EXPECT_THROW(TQelGraphics::UmrechnenY(1e30L, 480, -10, 10), EngineError);
}

TEST(QelGraphics, CancelDuringTheGridDrawsNoCurve) {
  TQelGraphics g = OneCurve("5", "0.1");
  g.SetGrid(true);
  g.SetPoll([&] { g.Cancel(); });
  Bitmap bm(640, 480);
  EXPECT_EQ(g.DrawToCanvas(bm), -1);
  EXPECT_EQ(Count(bm, kRed), 0);
  EXPECT_EQ(Count(bm, 0), 0);  // nor axes
  g.SetPoll(nullptr);
  EXPECT_EQ(g.DrawToCanvas(bm), 0);  // the flag is cleared at the start
  EXPECT_GT(Count(bm, kRed), 0);
}

TEST(QelGraphics, LineWiseCurvesAreOnePixelThick) {
  TQelGraphics g = OneCurve("5", "0.01");
  g.SetPointsOnly(false);
  Bitmap bm(640, 480);
  g.DrawToCanvas(bm);
  EXPECT_EQ(bm.Pixel(0, 119), kRed);
  for (int32_t x = 1; x < 640; ++x) ASSERT_EQ(bm.Pixel(x, 120), kRed) << x;
  EXPECT_EQ(Count(bm, kRed), 640);
}

TEST(QelGraphics, DeviationAppliesWheneverItIsPositive) {
  struct Case {
    long double deviation;
    bool joined;
  };
  const Case cases[] = {{5, false}, {0, true}, {-1, true}};
  for (const auto& c : cases) {
    TQelGraphics g = OneCurve("x", "1");
    g.SetPointsOnly(false);
    g.SetCross(false);
    g.SetAbstand(c.deviation);
    Bitmap bm(640, 480);
    g.DrawToCanvas(bm);
    int between = 0;  // columns between the samples at u = 33 and u = 65, where x < -5
    for (int32_t y = 0; y < 480; ++y) {
      for (int32_t x = 40; x < 60; ++x) between += bm.Pixel(x, y) == kRed;
    }
    EXPECT_EQ(between > 0, c.joined);
  }
}

TEST(QelGraphics, ReversedRangeDrawsMirrored) {
  TQelGraphics g = OneCurve("x", "0.1");
  g.SetMinusX(10);
  g.SetPlusX(-10);
  Bitmap bm(640, 480);
  EXPECT_EQ(g.DrawToCanvas(bm), 0);
  EXPECT_EQ(bm.Pixel(3, 2), kRed);  // u = 4: x = 9.875, row 3
  EXPECT_NE(bm.Pixel(320, 100), kWhite);
}

TEST(QelGraphics, ZeroRangesAndSpacingAreErrors) {
  struct Case {
    long double xTo, yTo, grid;
  };
  const Case cases[] = {{-10, 10, 1}, {10, -10, 1}, {10, 10, 0}};
  for (const auto& c : cases) {
    TQelGraphics g = OneCurve("x", "0.1");
    g.SetPlusX(c.xTo);
    g.SetPlusY(c.yTo);
    g.SetGrid(true);
    g.SetGridSpace(c.grid);
    Bitmap bm(64, 48);
    EXPECT_THROW(g.DrawToCanvas(bm), EngineError);
  }
}

TEST(QelGraphics, OwnEngineLeavesTheApplicationsTreeAndAllowsNegativeBases) {
  SetRegionalDecimalSeparator('.');
  TQelParser app;
  app.SetExpression("2");
  ASSERT_TRUE(app.CreateTree());
  TQelGraphics g = OneCurve("x^0.5", "0.1");  // negative x gives not-a-number: no point, no error
  Bitmap bm(640, 480);
  EXPECT_EQ(g.DrawToCanvas(bm), 0);
  EXPECT_EQ(app.Evaluate(), 2);
  for (int32_t y = 0; y < 480; ++y) {
    for (int32_t x = 0; x < 318; ++x) ASSERT_NE(bm.Pixel(x, y), kRed);
  }
  EXPECT_GT(Count(bm, kRed), 0);
}

}  // namespace
