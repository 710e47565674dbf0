// Rendering with ranges, steps, grid spacings and output sizes at the edges of what the settings
// check lets through. Work is measured in check points (one per grid line drawn and per sample),
// never in time: a renderer that loops over what is off the picture shows up as a huge count.
#include "components/QelGraphics.h"
#include "graph/Bitmap.h"
#include "graph/GraphRenderer.h"
#include "platform/Conversions.h"
#include "project/CheckSettings.h"
#include "tests/hardening/HardeningSupport.h"

namespace hardening {
namespace {

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kGrid = 0x00FF00;

struct Rendered {
  RenderResult Result = RenderResult::Completed;
  long Checkpoints = 0;
  std::vector<std::string> Reports;
};

ProjectSettings Bare() {
  ProjectSettings s;
  s.ShowAxes = false;
  s.ShowGrid = false;
  s.GridColor = kGrid;
  return s;
}

ProjectDocument Project(const ProjectSettings& settings, std::vector<FunctionEntry> functions) {
  ProjectDocument project;
  project.Settings = settings;
  project.Functions = std::move(functions);
  return project;
}

Rendered Render(const ProjectDocument& project, Bitmap& bitmap) {
  TQelParser parser;
  Rendered out;
  const bool cancelled = false;
  out.Result = GraphRenderer(
      project, parser, bitmap, cancelled, [&] { ++out.Checkpoints; },
      [&](const std::string& message) { out.Reports.push_back(message); });
  return out;
}

int32_t Count(const Bitmap& bitmap, int32_t color) {
  int32_t n = 0;
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    for (int32_t x = 0; x < bitmap.Width(); ++x) n += bitmap.Pixel(x, y) == color;
  }
  return n;
}

TEST(HostileRendering, StepWidthsDecideTheSamplesOnly) {
  struct Case {
    const char* step;
    long samples;
  };
  // 640 columns over a range of 20: a step of 1 samples every 32nd column.
  const std::vector<Case> cases = {
      {"1e-4000", 640}, {"-1e4000", 640}, {"1e4000", 1}, {"1e5000", 20}, {"0", 640}, {"abc", 640},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    Bitmap bitmap(640, 480);
    const Rendered r = Render(Project(Bare(), {{"1", "sin(x)", c.step, "0"}}), bitmap);
    EXPECT_EQ(r.Result, RenderResult::Completed);
    EXPECT_EQ(r.Checkpoints, 1 + c.samples);
  }
}

TEST(HostileRendering, ExtremeRangesCompleteAtTheCostOfWhatIsVisible) {
  struct Case {
    const char* name;
    const char *xFrom, *xTo, *yFrom, *yTo;
  };
  const std::vector<Case> cases = {
      {"x width 1e-300", "0", "1e-300", "-10", "10"},
      {"y width 1e-300", "-10", "10", "0", "1e-300"},
      {"x width 1e300", "-5e299", "5e299", "-10", "10"},
      {"y width 1e300", "-10", "10", "-5e299", "5e299"},
      {"both 1e300 away from the origin", "1e300", "2e300", "-2e300", "-1e300"},
      {"bounds beyond the extended range", "-1e5000", "1e5000", "-1e5000", "1e5000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProjectSettings s = Bare();
    s.ShowGrid = s.ShowAxes = true;
    s.XFrom = c.xFrom, s.XTo = c.xTo, s.YFrom = c.yFrom, s.YTo = c.yTo;
    s.Pointwise = false;
    Bitmap bitmap(640, 480);
    const Rendered r = Render(Project(s, {{"1", "x", "0", "255"}, {"1", "1/x", "0", "0"}}), bitmap);
    EXPECT_EQ(r.Result, RenderResult::Completed);
    EXPECT_LE(r.Checkpoints, 2 * (1 + 640) + 640 + 480);
  }
}

TEST(HostileRendering, GridStepsOfMillionsOfLinesDrawOnlyWhatShows) {
  struct Case {
    const char* name;
    const char *xFrom, *xTo, *gridStep;
    std::vector<int32_t> gridColumns;  // where the vertical lines cross row 100
  };
  std::vector<int32_t> every32;
  for (int32_t c = 0; c < 640; c += 32) every32.push_back(c);
  const std::vector<Case> cases = {
      // Spacing below one pixel: all lines fall on the axes' places and are drawn once.
      {"spacing truncated to 0", "-10", "10", "1e-9", {320}},
      {"line count beyond 64 bits", "-10", "10", "1e-300", {320}},
      // The origin lies 32 million pixels to the left: a million lines lie off the picture.
      {"origin far off the picture", "1000000", "1000020", "1", every32},
      // A negative step swaps the families' directions but not their counts: the million
      // lines counted from the left bound now run right and end on column 0.
      {"negative step", "1000000", "1000020", "-1", {0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProjectSettings s = Bare();
    s.ShowGrid = true;
    s.XFrom = c.xFrom, s.XTo = c.xTo, s.GridStep = c.gridStep;
    Bitmap bitmap(640, 480);
    const Rendered r = Render(Project(s, {}), bitmap);
    EXPECT_EQ(r.Result, RenderResult::Completed);
    EXPECT_LE(r.Checkpoints, 640 / 32 + 480 / 24 + 2);
    std::vector<int32_t> columns;
    for (int32_t x = 0; x < 640; ++x) {
      if (bitmap.Pixel(x, 100) == kGrid) columns.push_back(x);
    }
    EXPECT_EQ(columns, c.gridColumns);
  }
}

TEST(HostileRendering, GridStepThatCannotBeUsedEndsTheDrawing) {
  for (const char* step : {"0", "-0", "1e-5000"}) {
    SCOPED_TRACE(step);
    ProjectSettings s = Bare();
    s.ShowGrid = true;
    s.GridStep = step;
    Bitmap bitmap(64, 64);
    EXPECT_THROW(Render(Project(s, {{"1", "x", "1", "0"}}), bitmap), EngineError);
  }
  ProjectSettings s = Bare();
  s.ShowGrid = true;
  s.GridStep = "1e5000";
  Bitmap bitmap(64, 64);
  EXPECT_THROW(Render(Project(s, {}), bitmap), ConvertError);
}

TEST(HostileRendering, OutputSizesAtTheCheckLimits) {
  struct Case {
    const char *width, *height;
    int verdict;
  };
  const std::vector<Case> cases = {
      {"16384", "16384", 0},    {"10", "10", 0},          {"16385", "480", 4},
      {"640", "16385", 4},      {"9", "480", 4},          {"2147483647", "2147483647", 4},
      {"-2147483648", "10", 4}, {"2147483648", "480", 3}, {"1e3", "480", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.width) + " x " + c.height);
    ProjectSettings s;
    s.OutputWidth = c.width;
    s.OutputHeight = c.height;
    EXPECT_EQ(CheckSettings(s, HeadlessScreenLimit, HeadlessScreenLimit).Verdict, c.verdict);
  }
}

TEST(HostileRendering, RangeBoundsAtTheCheckLimits) {
  struct Case {
    const char* name;
    std::string xFrom, xTo;
    int verdict;
  };
  const std::vector<Case> cases = {
      {"width 1e-300", "0", "1e-300", 0},
      {"width 1e300", "-5e299", "5e299", 0},
      {"underflow reads as 0", "1e-5000", "10", 0},
      {"beyond the extended range", "-1e5000", "10", 1},
      {"10 MB of digits", std::string(10 << 20, '7'), "10", 1},
      {"10 MB of zeros", std::string(10 << 20, '0'), "10", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProjectSettings s;
    s.XFrom = c.xFrom;
    s.XTo = c.xTo;
    EXPECT_EQ(CheckSettings(s, HeadlessScreenLimit, HeadlessScreenLimit).Verdict, c.verdict);
  }
}

// The largest frame the check lets through, drawn onto a small bitmap: the samples cost W per
// curve, the grid costs nothing off the picture, and the corner shows what a full bitmap would.
TEST(HostileRendering, LargestFrameOnASmallBitmap) {
  UnderBothSeparators([](char separator) {
    ProjectSettings s = Bare();
    s.OutputWidth = s.OutputHeight = "16384";
    s.ShowGrid = true;
    s.GridStep = std::string("0") + separator + "001";
    s.XFrom = "0", s.XTo = "1", s.YFrom = "0", s.YTo = "1";
    const ProjectDocument project = Project(s, {{"1", "1-x", "1e-9", "255"}});
    Bitmap corner(64, 64);
    const Rendered r = Render(project, corner);
    EXPECT_EQ(r.Result, RenderResult::Completed);
    EXPECT_LE(r.Checkpoints, 1 + 16384 + 2 * 64 / 16 + 2);
    Bitmap strip(16384, 12);
    Render(project, strip);
    for (int32_t y = 0; y < strip.Height(); ++y) {
      for (int32_t x = 0; x < corner.Width(); ++x) {
        ASSERT_EQ(corner.Pixel(x, y), strip.Pixel(x, y)) << x << "," << y;
      }
    }
    EXPECT_GT(Count(corner, 255), 0);
    EXPECT_GT(Count(corner, kGrid), 0);
  });
}

TEST(HostileRendering, ComponentWithExtremeRangesAndSpacing) {
  struct Case {
    const char* name;
    long double from, to, gridSpace;
  };
  const std::vector<Case> cases = {
      {"width 1e-300", 0, 1e-300L, 1},
      {"width 1e300", -5e299L, 5e299L, 1e-300L},
      {"beyond the double range", -1e4000L, 1e4000L, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TQelGraphics graphics;
    graphics.SetMinusX(c.from);
    graphics.SetPlusX(c.to);
    graphics.SetGrid(true);
    graphics.SetGridSpace(c.gridSpace);
    graphics.SetExpressions({"x", "1/x"});
    graphics.SetSteps({"0", "0"});
    graphics.SetColors({"255", "0"});
    long checkpoints = 0;
    graphics.SetPoll([&] { ++checkpoints; });
    Bitmap bitmap(640, 480);
    try {
      EXPECT_EQ(graphics.DrawToCanvas(bitmap), 0);
    } catch (const EngineError&) {
      // Ranges the double conversion cannot hold fail as a zero range does.
    }
    EXPECT_LE(checkpoints, 2 * (1 + 640) + 640 + 480);
  }
}

}  // namespace
}  // namespace hardening
