#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "engine/QelParser.h"
#include "graph/Annotations.h"
#include "graph/Bitmap.h"
#include "graph/GraphRenderer.h"
#include "graph/PngWriter.h"
#include "graph/TextFace.h"
#include "graph/VectorPicture.h"
#include "graph/VectorWriter.h"
#include "platform/RegionalSettings.h"
#include "tests/support/NamedCases.h"

namespace {

namespace fs = std::filesystem;
using qeltest::PrintTo;

constexpr int32_t kCurve = 0x0000FF, kAxis = 0x000000;

struct NumberCase {
  std::string name;
  long double value, step;
  char separator;
  std::string text;
};

const NumberCase kNumbers[] = {
    {"Whole", -4, 2, ',', "-4"},
    {"HalfStepsTakeTheSeparator", 1.5L, 0.5L, ',', "1,5"},
    {"PointSeparator", -0.25L, 0.25L, '.', "-0.25"},
    {"RoundingNoiseIsZero", 1e-17L, 0.1L, ',', "0"},
    {"HugeValuesTakeAPowerOfTen", 1.5e12L, 5e11L, ',', "1,5E12"},
    {"TinyStepsTakeAPowerOfTen", 2e-7L, 1e-7L, '.', "2E-7"},
};

class AxisNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(AxisNumbers, AreWrittenWithTheStepsDecimals) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(AxisNumber(c.value, c.step, c.separator), c.text);
}

INSTANTIATE_TEST_SUITE_P(Values, AxisNumbers, testing::ValuesIn(kNumbers), qeltest::CaseName{});

TEST(Printable, ReplacesWhatALineCannotShow) {
  const std::pair<std::string, std::string> cases[] = {
      {"sin(x)*3", "sin(x)*3"},
      {"x\xC3\xA4", "x\xC3\xA4"},  // UTF-8 stays
      {"x\xE4", "x\uFFFD"},        // a Latin-1 byte does not
      {"a\x01"
       "b\tc",
       "a\uFFFDb\uFFFDc"},  // nor control characters, which XML refuses
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Printable(text), shown) << text;
}

TEST(RoundStep, IsOneTwoOrFiveTimesAPowerOfTen) {
  const std::pair<long double, long double> cases[] = {
      {0.7L, 1}, {1, 1}, {1.2L, 2}, {3, 5}, {7, 10}, {0.013L, 0.02L}, {420, 500}};
  for (const auto& [minimum, step] : cases) {
    EXPECT_NEAR(static_cast<double>(RoundStep(minimum)), static_cast<double>(step), 1e-12)
        << static_cast<double>(minimum);
  }
}

// A project with one function on a white picture; the settings are each case's.
struct Scene {
  ProjectDocument project;
  TQelParser parser;

  explicit Scene(const std::string& expression, const std::string& step = "0.01") {
    SetRegionalDecimalSeparator('.');
    parser.SetConvertAllColonsAndDots(true);
    project.Settings.AxisColor = kAxis;
    project.Settings.Pointwise = false;
    project.Functions.push_back({"1", expression, step, std::to_string(kCurve)});
  }
  template <typename Picture>
  Picture Render(int32_t w = 640, int32_t h = 480) {
    project.Settings.OutputWidth = std::to_string(w);
    project.Settings.OutputHeight = std::to_string(h);
    Picture picture(w, h);
    const bool cancelled = false;
    GraphRenderer(project, parser, picture, cancelled, {}, {});
    return picture;
  }
};

bool IsCurve(int32_t color) {
  const int r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
  return r > 128 && r > g + 64 && r > b + 64;
}

// The topmost row in the column where the curve's colour shows, or -1.
int32_t TopCurveRow(const Bitmap& bm, int32_t column) {
  for (int32_t y = 0; y < bm.Height(); ++y) {
    if (IsCurve(bm.Pixel(column, y))) return y;
  }
  return -1;
}

int32_t CurvePixelsInColumn(const Bitmap& bm, int32_t column) {
  int32_t n = 0;
  for (int32_t y = 0; y < bm.Height(); ++y) n += IsCurve(bm.Pixel(column, y));
  return n;
}

TEST(ExactCurves, ZoomedPeakLiesOnItsRowAndTheCurveReachesTheRightEdge) {
  for (const bool smooth : {false, true}) {
    Scene scene("x^3-3*x", "1");
    ProjectSettings& s = scene.project.Settings;
    s.XFrom = "-1.2", s.XTo = "-0.8", s.YFrom = "1.8", s.YTo = "2.02";
    s.ShowAxes = s.ShowGrid = false;
    s.ExactCurves = true;
    s.SmoothCurves = smooth;
    const Bitmap bm = scene.Render<Bitmap>();
    const int32_t column = 320, row = static_cast<int32_t>((2.02 - 2) * 480 / 0.22);  // x=-1, y=2
    int32_t top = bm.Height();
    for (int32_t x = 0; x < bm.Width(); ++x) {
      const int32_t r = TopCurveRow(bm, x);
      if (r >= 0) top = std::min(top, r);
    }
    EXPECT_NEAR(top, row, 1) << smooth;
    EXPECT_NEAR(TopCurveRow(bm, column), row, 1) << smooth;
    EXPECT_GE(TopCurveRow(bm, bm.Width() - 1), 0) << smooth;
  }
}

struct PoleCase {
  std::string name, expression;
  bool exact, smooth;
  int32_t most;  // curve pixels allowed in the pole's column
};

const PoleCase kPoles[] = {
    {"ExactPlain", "1/(x-1.0001)", true, false, 40},
    {"ExactSmooth", "1/(x-1.0001)", true, true, 40},
    {"ExactTangent", "tan(x-0.0001)+0", true, false, 40},
};

class Poles : public testing::TestWithParam<PoleCase> {};

TEST_P(Poles, AreNotJoinedAcrossThePicture) {
  const PoleCase& c = GetParam();
  Scene scene(c.expression);
  ProjectSettings& s = scene.project.Settings;
  s.ShowAxes = s.ShowGrid = false;
  s.XFrom = "-2", s.XTo = "2", s.YFrom = "-2", s.YTo = "2";
  s.ExactCurves = c.exact;
  s.SmoothCurves = c.smooth;
  const Bitmap bm = scene.Render<Bitmap>();
  const double pole = c.expression[0] == 't' ? 1.5708 : 1.0001;
  const auto column = static_cast<int32_t>((pole + 2) * 640 / 4);
  for (int32_t x = column - 1; x <= column + 1; ++x) EXPECT_LE(CurvePixelsInColumn(bm, x), c.most);
  EXPECT_GT(CurvePixelsInColumn(bm, 160), 0);
}

INSTANTIATE_TEST_SUITE_P(Curves, Poles, testing::ValuesIn(kPoles), qeltest::CaseName{});

TEST(SmoothCurves, MixTheirEdgesIntoTheBackground) {
  Scene scene("sin(x)*3");
  scene.project.Settings.ShowAxes = scene.project.Settings.ShowGrid = false;
  scene.project.Settings.SmoothCurves = true;
  const Bitmap bm = scene.Render<Bitmap>();
  int mixed = 0, full = 0;
  for (int32_t y = 0; y < bm.Height(); ++y) {
    for (int32_t x = 0; x < bm.Width(); ++x) {
      const int32_t p = bm.Pixel(x, y);
      full += p == kCurve;
      mixed += p != kCurve && p != 0xFFFFFF;
    }
  }
  EXPECT_GT(full, 300);
  EXPECT_GT(mixed, 600);
}

// The diagonal y = x runs through the top right and bottom left corners, so the legend takes
// another one.
TEST(Legend, TakesTheCornerTheCurvesLeaveFree) {
  for (const auto& [expression, freeLeft] :
       {std::pair<std::string, bool>{"x", true}, {"-x", false}}) {
    Scene scene(expression);
    scene.project.Settings.Legend = true;
    scene.project.Settings.ShowGrid = false;
    const Bitmap bm = scene.Render<Bitmap>();
    int left = 0, right = 0;
    for (int32_t y = 8; y < 40; ++y) {
      for (int32_t x = 8; x < 120; ++x) left += IsCurve(bm.Pixel(x, y));
      for (int32_t x = 520; x < 632; ++x) right += IsCurve(bm.Pixel(x, y));
    }
    // The legend's text is drawn in the curve's colour; the curve itself crosses only a few rows.
    EXPECT_GT(freeLeft ? left : right, 40) << expression;
  }
}

// The labels a picture records, with the boxes they take.
std::vector<std::pair<std::string, Rect>> Labels(const VectorPicture& picture) {
  std::vector<std::pair<std::string, Rect>> out;
  for (const VectorPicture::Shape& shape : picture.Shapes()) {
    if (const auto* label = std::get_if<VectorPicture::Label>(&shape)) {
      const TextLine& l = label->Line;
      const TextExtent e = MeasureText(l.Text, l.Size);
      out.push_back({l.Text, {l.X, l.Y, l.X + e.Width, l.Y + e.Height}});
    }
  }
  return out;
}

struct PlaceCase {
  std::string name;
  std::string xFrom, xTo, yFrom, yTo;
  char xRow;     // the x numbers: 'a' along the axis, 't' top edge, 'b' bottom edge
  char yColumn;  // the y numbers: 'a' beside the axis, 'l' left edge, 'r' right edge
};

const PlaceCase kPlaces[] = {
    {"AxesInside", "-10", "10", "-10", "10", 'a', 'a'},
    {"AxesOutsideLowAndLeft", "5", "15", "3", "9", 'b', 'l'},
    {"AxesOutsideHighAndRight", "-15", "-5", "-9", "-3", 't', 'r'},
    {"TinyRange", "0.001", "0.0012", "-1e-7", "1e-7", 'a', 'l'},
    {"HugeRange", "-1e15", "3e15", "-2e12", "1e12", 'a', 'a'},
};

class NumberPlaces : public testing::TestWithParam<PlaceCase> {};

TEST_P(NumberPlaces, FollowTheAxesOrTheEdgesAndNeverOverlap) {
  const PlaceCase& c = GetParam();
  Scene scene(" ");
  ProjectSettings& s = scene.project.Settings;
  s.XFrom = c.xFrom, s.XTo = c.xTo, s.YFrom = c.yFrom, s.YTo = c.yTo;
  s.AxisNumbers = true;
  const PlotGeometry frame = RenderGeometry(s, scene.parser);
  const auto labels = Labels(scene.Render<VectorPicture>());
  ASSERT_GE(labels.size(), 6u);
  const double x0 = frame.OriginColumn, y0 = frame.OriginRow;
  for (size_t i = 0; i < labels.size(); ++i) {
    const auto& [text, box] = labels[i];
    for (size_t j = 0; j < i; ++j) EXPECT_FALSE(box.Overlaps(labels[j].second)) << text;
    EXPECT_FALSE(box.Overlaps({-1e9, y0, 1e9, y0 + 2})) << text << " on the x axis";
    EXPECT_FALSE(box.Overlaps({x0, -1e9, x0 + 2, 1e9})) << text << " on the y axis";
    EXPECT_TRUE(box.Left >= 0 && box.Right <= 640 && box.Top >= 0 && box.Bottom <= 480) << text;
  }
  // The first labels are the axis names, then the x numbers, then the y numbers.
  const Rect& x = labels[2].second;
  const Rect& y = labels.back().second;
  const double xRow = c.xRow == 'a' ? y0 : c.xRow == 't' ? 0 : 480;
  const double yColumn = c.yColumn == 'a' ? x0 : c.yColumn == 'l' ? 0 : 640;
  EXPECT_LT(std::min(std::fabs(x.Top - xRow), std::fabs(x.Bottom - xRow)), 12) << labels[2].first;
  EXPECT_LT(std::min(std::fabs(y.Left - yColumn), std::fabs(y.Right - yColumn)), 12)
      << labels.back().first;
}

INSTANTIATE_TEST_SUITE_P(Ranges, NumberPlaces, testing::ValuesIn(kPlaces), qeltest::CaseName{});

// A long expression ends in "…" within the legend's width; the legend's lines are numbered by
// the function's row, blank rows passed over.
TEST(Legend, ShortensLongExpressionsAndNumbersTheRows) {
  Scene scene(" ");
  scene.project.Functions.push_back({"2", std::string(300, '1') + "+x", "0.01", "255"});
  scene.project.Settings.Legend = true;
  const auto labels = Labels(scene.Render<VectorPicture>());
  ASSERT_EQ(labels.size(), 1u);
  const std::string& text = labels[0].first;
  EXPECT_EQ(text.substr(0, 10), "f2(x) = 11");
  EXPECT_EQ(text.substr(text.size() - 3), "\u2026");
  EXPECT_LE(labels[0].second.Right - labels[0].second.Left, 0.45 * 640);
}

// Zoomed far in, x at the engine's 8 decimals is one value for the whole picture; exact curves
// pass it with the digits the pixel width needs, so y = x still climbs across the picture.
TEST(ExactCurves, ReadXFinelyEnoughForDeepZooms) {
  for (const bool exact : {false, true}) {
    Scene scene("x");
    ProjectSettings& s = scene.project.Settings;
    s.XFrom = s.YFrom = "1", s.XTo = s.YTo = "1.000000000001";
    s.ShowAxes = s.ShowGrid = false;
    s.ExactCurves = exact;
    const Bitmap bm = scene.Render<Bitmap>();
    std::set<int32_t> rows;
    for (int32_t x = 0; x < bm.Width(); x += 8) rows.insert(TopCurveRow(bm, x));
    EXPECT_EQ(rows.size() > 40, exact) << rows.size();
  }
}

fs::path TempPath(const std::string& name) {
  return fs::temp_directory_path() / ("qel_readable_" + std::to_string(::getpid()) + "_" + name);
}

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    ::pclose(pipe);
  }
  return out;
}

TEST(VectorFiles, HoldNumbersAndLegendAsTextAndSmoothCurvesAsPreciseLines) {
  Scene scene("sin(x)*3");
  ProjectSettings& s = scene.project.Settings;
  s.AxisNumbers = s.Legend = s.SmoothCurves = true;
  const VectorPicture picture = scene.Render<VectorPicture>();
  const std::string svg = EncodeSvg(picture);
  EXPECT_NE(svg.find(">f1(x) = sin(x)*3</text>"), std::string::npos);
  EXPECT_NE(svg.find(">-8</text>"), std::string::npos);
  EXPECT_LT(svg.find("</text>"), svg.rfind("</svg>"));
  const fs::path pdf = TempPath("p.pdf");
  WritePdfFile(pdf, picture);
  const std::string text = Shell("pdftotext '" + pdf.string() + "' - 2>/dev/null");
  fs::remove(pdf);
  EXPECT_NE(text.find("f1(x) = sin(x)*3"), std::string::npos) << text;
}

// A reader's check: an OCR engine reads the numbers at the grid lines of both axes back.
TEST(AxisNumbersOcr, ReadBackAsTheValuesAtTheGridLines) {
  if (Shell("command -v tesseract").empty()) GTEST_SKIP() << "tesseract is not installed";
  Scene scene(" ");
  ProjectSettings& s = scene.project.Settings;
  s.AxisNumbers = true;
  s.XFrom = s.YFrom = "-50", s.XTo = s.YTo = "50";
  s.GridStep = "10";
  const fs::path png = TempPath("numbers.png");
  WritePngFile(png, scene.Render<Bitmap>(1280, 960));
  const std::string read = Shell("tesseract '" + png.string() + "' - --psm 11 2>/dev/null");
  fs::remove(png);
  std::istringstream words(read);
  std::multiset<std::string> seen;
  for (std::string word; words >> word;) seen.insert(word);
  for (const char* number : {"-40", "-30", "-20", "-10", "10", "20", "30", "40"}) {
    EXPECT_EQ(seen.count(number), 2u) << number << " in " << read;  // once on each axis
  }
}

}  // namespace
