#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "engine/QelParser.h"
#include "graph/Bitmap.h"
#include "graph/GraphRenderer.h"
#include "platform/Conversions.h"
#include "platform/RegionalSettings.h"
#include "tests/support/NamedCases.h"

namespace {

constexpr int32_t kBackground = 0xFFFFFF, kAxis = 0x808080, kGrid = 0xC0C0C0, kCurve = 0x0000FF;

struct Scene {
  ProjectDocument project;
  TQelParser parser;
  std::vector<std::string> reports;
  bool cancelled = false;
  std::function<void()> poll;

  Scene() {
    SetRegionalDecimalSeparator('.');
    parser.SetConvertAllColonsAndDots(true);
    project.Settings.ShowGrid = false;
    project.Settings.ShowAxes = false;
  }
  Scene& Function(const std::string& expression, const std::string& step = "0.01",
                  const std::string& color = "255") {
    project.Functions.push_back(
        {std::to_string(project.Functions.size() + 1), expression, step, color});
    return *this;
  }
  RenderResult Render(Bitmap& bm) {
    return GraphRenderer(project, parser, bm, cancelled, poll,
                         [&](const std::string& m) { reports.push_back(m); });
  }
  Bitmap Picture(int32_t w = 640, int32_t h = 480) {
    Bitmap bm(w, h);
    EXPECT_EQ(Render(bm), RenderResult::Completed);
    return bm;
  }
};

std::set<int32_t> ColumnsWith(const Bitmap& bm, int32_t row, int32_t color) {
  std::set<int32_t> out;
  for (int32_t x = 0; x < bm.Width(); ++x) {
    if (bm.Pixel(x, row) == color) out.insert(x);
  }
  return out;
}

std::set<int32_t> RowsWith(const Bitmap& bm, int32_t column, int32_t color) {
  std::set<int32_t> out;
  for (int32_t y = 0; y < bm.Height(); ++y) {
    if (bm.Pixel(column, y) == color) out.insert(y);
  }
  return out;
}

int Count(const Bitmap& bm, int32_t color, int32_t x0 = 0, int32_t x1 = -1) {
  if (x1 < 0) x1 = bm.Width();
  int n = 0;
  for (int32_t y = 0; y < bm.Height(); ++y) {
    for (int32_t x = x0; x < x1; ++x) n += bm.Pixel(x, y) == color;
  }
  return n;
}

std::set<int32_t> Arithmetic(int32_t first, int32_t step, int32_t last) {
  std::set<int32_t> out;
  for (int32_t v = first; v <= last; v += step) out.insert(v);
  return out;
}

TEST(GraphRenderer, DefaultProjectGeometry) {
  Scene run;
  run.project.Settings.ShowGrid = run.project.Settings.ShowAxes = true;
  const Bitmap bm = run.Picture();
  std::set<int32_t> gridColumns = Arithmetic(0, 32, 288);
  gridColumns.merge(Arithmetic(352, 32, 608));
  EXPECT_EQ(ColumnsWith(bm, 5, kGrid), gridColumns);
  EXPECT_EQ(ColumnsWith(bm, 5, kAxis), (std::set<int32_t>{320, 321}));
  std::set<int32_t> gridRows = Arithmetic(0, 24, 216);
  gridRows.merge(Arithmetic(264, 24, 456));
  EXPECT_EQ(RowsWith(bm, 5, kGrid), gridRows);
  EXPECT_EQ(RowsWith(bm, 5, kAxis), (std::set<int32_t>{240, 241}));
  // Horizontal lines start at column 1 and vertical ones at row 1.
  EXPECT_EQ(bm.Pixel(0, 0), kBackground);
  EXPECT_EQ(bm.Pixel(1, 0), kGrid);
  EXPECT_EQ(bm.Pixel(0, 1), kGrid);
  EXPECT_EQ(bm.Pixel(320, 0), kGrid);  // the axes start at row 1 too
}

TEST(GraphRenderer, OriginAndGridFollowTheRange) {
  struct Case {
    std::string from, to, width;
    std::set<int32_t> gridColumns, axisColumns;
  };
  const Case cases[] = {
      {"5", "15", "640", Arithmetic(0, 64, 576), {}},  // origin at -320, grid still anchored there
      {"-1.5", "2", "700", {0, 100, 200, 400, 500, 600}, {300, 301}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from);
    Scene run;
    run.project.Settings.ShowGrid = run.project.Settings.ShowAxes = true;
    run.project.Settings.XFrom = c.from;
    run.project.Settings.XTo = c.to;
    run.project.Settings.OutputWidth = c.width;
    run.project.Settings.GridStep = "0.5";
    if (c.from == "5") run.project.Settings.GridStep = "1";
    const Bitmap bm = run.Picture(std::stoi(c.width));
    EXPECT_EQ(ColumnsWith(bm, 5, kAxis), c.axisColumns);
    std::set<int32_t> expected = c.gridColumns;
    for (int32_t a : c.axisColumns) expected.erase(a);
    EXPECT_EQ(ColumnsWith(bm, 5, kGrid), expected);
  }
}

TEST(GraphRenderer, PixelStepDecidesTheSampledColumns) {
  struct Case {
    std::string step;
    std::set<int32_t> columns;
  };
  const Case cases[] = {
      {"0.01", Arithmetic(0, 1, 639)},  // p = trunc(0.32) raised to 1
      {"1", Arithmetic(0, 32, 608)},    // p = 32: 20 samples
      {"0", Arithmetic(0, 1, 639)},
      {"-3", Arithmetic(0, 1, 639)},
      {"1e6", {0}},                     // wider than the picture: only u = 1
      {"0.22", Arithmetic(0, 7, 637)},  // p = 7
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.step);
    Scene run;
    run.Function("5", c.step);
    EXPECT_EQ(ColumnsWith(run.Picture(), 119, kCurve), c.columns);  // (u - 1, row(5) - 1)
  }
}

TEST(GraphRenderer, StepThatTheEngineRejectsKeepsThePreviousOne) {
  Scene run;
  run.Function("5", "1").Function("6", "1e99999");
  const Bitmap bm = run.Picture();
  EXPECT_EQ(ColumnsWith(bm, 95, kCurve), Arithmetic(0, 32, 608));  // row(6) - 1 = 95
}

TEST(GraphRenderer, DivisionByZeroBreaksTheLine) {
  Scene run;
  run.project.Settings.Pointwise = false;
  run.Function("1/x");
  const Bitmap bm = run.Picture();
  EXPECT_EQ(Count(bm, kCurve, 318, 323), 0);  // the branches are not joined across x = 0
  EXPECT_GT(Count(bm, kCurve, 323, 330), 0);
  EXPECT_TRUE(run.reports.empty());
}

TEST(GraphRenderer, LineWiseCurvesAreTwoPixelsThick) {
  Scene run;
  run.project.Settings.Pointwise = false;
  run.Function("5");
  const Bitmap bm = run.Picture();
  EXPECT_EQ(ColumnsWith(bm, 120, kCurve), Arithmetic(0, 1, 639));
  EXPECT_EQ(ColumnsWith(bm, 121, kCurve), Arithmetic(1, 1, 639));
  EXPECT_EQ(bm.Pixel(0, 119), kCurve);  // the short first step from (u - 1, r - 1)
}

TEST(GraphRenderer, DeviationLeavesStubsWhereTheValueIsLarge) {
  struct Case {
    bool use;
    std::string deviation;
    bool pointwise;
    bool joinedFarOut;
  };
  const Case cases[] = {
      {true, "5", false, false},
      {true, "0", false, true},
      {false, "5", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.deviation);
    Scene run;
    run.project.Settings.Pointwise = c.pointwise;
    run.project.Settings.UseDeviation = c.use;
    run.project.Settings.Deviation = c.deviation;
    run.Function("x", "1");
    const Bitmap bm = run.Picture();
    EXPECT_EQ(Count(bm, kCurve, 40, 60) > 0, c.joinedFarOut);  // between samples at x < -5
    EXPECT_GT(Count(bm, kCurve, 330, 350), 0);                 // joined near 0
  }
}

TEST(GraphRenderer, DeviationHasNoEffectPointWise) {
  Scene plain, limited;
  plain.Function("x*3");
  limited.Function("x*3");
  limited.project.Settings.UseDeviation = true;
  limited.project.Settings.Deviation = "5";
  const Bitmap a = plain.Picture(), b = limited.Picture();
  EXPECT_EQ(std::vector<uint8_t>(a.Data(), a.Data() + a.Stride() * 480),
            std::vector<uint8_t>(b.Data(), b.Data() + b.Stride() * 480));
}

TEST(GraphRenderer, BlankColourlessAndBrokenRows) {
  Scene run;
  run.Function(" \t ").Function("5", "1", "none").Function("sin(", "1").Function("6", "1", "255");
  const Bitmap bm = run.Picture();
  EXPECT_EQ(ColumnsWith(bm, 119, 0), Arithmetic(0, 32, 608));  // drawn in black
  EXPECT_EQ(ColumnsWith(bm, 95, kCurve), Arithmetic(0, 32, 608));
  ASSERT_EQ(run.reports.size(), 1u);
  EXPECT_EQ(run.reports[0],
            "Fehler in Funktionsdefinition:\n\nsin(\n\nDer Graph dieser Funktion kann nicht "
            "erzeugt werden.");
}

// A long expression is quoted by its start only; the message's words stay.
TEST(GraphRenderer, ALongBrokenExpressionIsQuotedShortened) {
  const struct {
    std::string Expression, Quoted;
  } cases[] = {
      {"sin(", "sin("},
      {std::string(160, 'x'), std::string(160, 'x')},
      {"(" + std::string(10000, 'x'), "(" + std::string(159, 'x') + "\x85"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FunctionDefinitionError(c.Expression),
              "Fehler in Funktionsdefinition:\n\n" + c.Quoted +
                  "\n\nDer Graph dieser Funktion kann nicht erzeugt werden.");
}

TEST(GraphRenderer, PassesXAtPrecisionEightWhateverTheEngineHadBefore) {
  Scene run;
  run.parser.SetPrecision(2);
  run.Function("x", "0.22");  // p = 7: the last sample is u = 638, x = 9.9375
  run.Picture();
  EXPECT_EQ(run.parser.Precision(), 8);
  EXPECT_EQ(run.parser.X(), "9.9375");
}

TEST(GraphRenderer, BackgroundIsFilledFromTheSeedPixel) {
  struct Case {
    int32_t size;
    int32_t corner;
  };
  const Case cases[] = {{10, kBackground}, {11, 0x00FF00}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    Scene run;
    run.project.Settings.BackgroundColor = 0x00FF00;
    EXPECT_EQ(run.Picture(c.size, c.size).Pixel(0, 0), c.corner);
  }
}

TEST(GraphRenderer, CancellationDuringTheGridStopsBeforeTheNextLine) {
  Scene run;
  run.project.Settings.ShowGrid = run.project.Settings.ShowAxes = true;
  run.Function("5");
  run.poll = [&] { run.cancelled = true; };
  Bitmap bm(640, 480);
  EXPECT_EQ(run.Render(bm), RenderResult::Cancelled);
  EXPECT_EQ(Count(bm, kGrid), 639);  // the first line: row 264, columns 1 to 639
  EXPECT_EQ(Count(bm, kAxis), 0);
  EXPECT_EQ(Count(bm, kCurve), 0);
}

TEST(GraphRenderer, CancelledFlagSetBeforehandDrawsOnlyTheBackground) {
  Scene run;
  run.project.Settings.ShowAxes = true;
  run.project.Settings.BackgroundColor = 0x00FF00;
  run.Function("5");
  run.cancelled = true;
  Bitmap bm(640, 480);
  EXPECT_EQ(run.Render(bm), RenderResult::Cancelled);
  EXPECT_GT(Count(bm, kAxis), 0);  // the first pass of the axes has no check point
  EXPECT_EQ(Count(bm, kCurve), 0);
}

TEST(GraphRenderer, GridStepErrorsLeaveTheRendererWithTheBackgroundDrawn) {
  const char* steps[] = {"abc", "0,5", "0"};
  for (const char* step : steps) {
    SCOPED_TRACE(step);
    Scene run;
    run.project.Settings.ShowGrid = true;
    run.project.Settings.GridStep = step;
    run.project.Settings.BackgroundColor = 0x00FF00;
    Bitmap bm(640, 480);
    EXPECT_THROW(run.Render(bm), std::runtime_error);
    EXPECT_EQ(bm.Pixel(100, 100), 0x00FF00);
  }
}

TEST(GraphRenderer, ZeroRangeInTheEnginesReadingIsAnError) {
  Scene run;
  run.project.Settings.XFrom = "1";
  run.project.Settings.XTo = "1abc";
  Bitmap bm(640, 480);
  EXPECT_THROW(run.Render(bm), EngineError);
}

TEST(GraphRenderer, FineGridLinesLandingOnTheOriginAreDrawnOnce) {
  Scene run;
  run.project.Settings.ShowGrid = true;
  run.project.Settings.GridStep = "1e-9";
  const Bitmap bm = run.Picture();
  EXPECT_EQ(ColumnsWith(bm, 5, kGrid), (std::set<int32_t>{320}));
  EXPECT_EQ(RowsWith(bm, 5, kGrid), (std::set<int32_t>{240}));
}

TEST(GraphRenderer, SteepCurvesFarBeyondThePictureAreClipped) {
  Scene run;
  run.project.Settings.Pointwise = false;
  run.Function("x*10000000").Function("x*1000000000000").Function("tan(x)");
  const Bitmap bm = run.Picture();
  EXPECT_TRUE(run.reports.empty());
  EXPECT_EQ(RowsWith(bm, 320, kCurve).size(), 480u);  // the first crosses the whole height at x = 0
}

TEST(GraphRenderer, PositionsFollowTheFrameNotTheBitmap) {
  Scene run;
  run.project.Settings.ShowAxes = true;
  const Bitmap bm = run.Picture(400, 300);
  EXPECT_EQ(ColumnsWith(bm, 5, kAxis), (std::set<int32_t>{320, 321}));
  EXPECT_EQ(RowsWith(bm, 5, kAxis), (std::set<int32_t>{240, 241}));
}

struct DerivativeCase {
  const char* name;
  std::string expression;
  bool first, second;
  int32_t column;
  std::set<int32_t> rows;  // the column's pixels in the lighter tone
};

// -10..10 on 640 x 480: 32 columns and 24 rows a unit; dashes on columns 1-6, 11-16, ...
const DerivativeCase kDerivatives[] = {
    {"FirstOfSquareCrossesTheOrigin", "x^2", true, false, 321, {238}},  // 2x = 1/16
    {"SecondOfSquareIsLevel", "x^2", false, true, 321, {192}},
    {"DashesLeaveGaps", "x^2", false, true, 330, {}},
    {"NoValueLeavesAGap", "x^0.5", true, false, 311, {}},
    {"FirstOfRoot", "x^0.5", true, false, 341, {225}},
    {"BothAtOnce", "x^3", true, true, 351, {99, 100, 171, 172}},  // 6x, then 3x^2
    {"OffDrawsNothingLighter", "x^2", false, false, 321, {}},
};

using qeltest::PrintTo;

class DerivativeCurves : public testing::TestWithParam<DerivativeCase> {};

TEST_P(DerivativeCurves, AreDashedInTheLighterTone) {
  const DerivativeCase& c = GetParam();
  Scene run;
  run.Function(c.expression);
  run.project.Functions[0].DrawFirstDerivative = c.first;
  run.project.Functions[0].DrawSecondDerivative = c.second;
  EXPECT_EQ(RowsWith(run.Picture(), c.column, 0x7F7FFF), c.rows);
}

INSTANTIATE_TEST_SUITE_P(Rows, DerivativeCurves, testing::ValuesIn(kDerivatives),
                         qeltest::CaseName{});

}  // namespace

namespace {

TEST(ThrottledPoll, PassesWhenTheIntervalHasGoneBySinceTheLastPass) {
  using std::chrono::milliseconds;
  // The clock's readings in ms: the first at construction, then one per eighth call.
  const std::vector<int> readings = {0, 1, 3, 4, 5, 7, 8, 30, 31};
  const std::vector<int> passedAt = {4, 8, 30};
  size_t next = 0;
  std::vector<int> passed;
  const auto clock = [&] {
    return std::chrono::steady_clock::time_point(milliseconds(readings[next++]));
  };
  ThrottledPoll poll([&] { passed.push_back(readings[next - 1]); }, milliseconds(4), clock);
  int calls = 0;
  while (next < readings.size()) {
    poll();
    ++calls;
  }
  EXPECT_EQ(passed, passedAt);
  EXPECT_EQ(calls, 8 * (static_cast<int>(readings.size()) - 1));
}

}  // namespace
