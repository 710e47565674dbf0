#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "graph/VectorPicture.h"
#include "graph/VectorWriter.h"
#include "tests/support/NamedCases.h"

namespace {

using qeltest::PrintTo;

constexpr int32_t kRed = 0x0000FF, kBlue = 0xFF0000;
constexpr int64_t kFar = int64_t{1} << 62;

// "dot|line|thick COLOUR x,y x,y ..." for each shape, in order.
std::vector<std::string> Describe(const VectorPicture& picture) {
  std::vector<std::string> out;
  for (const VectorPicture::Shape& shape : picture.Shapes()) {
    std::string text;
    if (const auto* dot = std::get_if<VectorPicture::Dot>(&shape)) {
      text = "dot " + std::to_string(dot->Color) + " " + std::to_string(dot->At.X) + "," +
             std::to_string(dot->At.Y);
    } else {
      const auto& line = std::get<VectorPicture::Polyline>(shape);
      text = (line.Thick ? "thick " : "line ") + std::to_string(line.Color);
      for (const auto& p : line.Points)
        text += " " + std::to_string(p.X) + "," + std::to_string(p.Y);
    }
    out.push_back(text);
  }
  return out;
}

struct Case {
  std::string name;
  std::function<void(VectorPicture&)> draw;
  std::vector<std::string> shapes;
};

const Case kCases[] = {
    {"PointBecomesADot", [](VectorPicture& p) { p.Line(4, 5, 5, 6); }, {"dot 255 4,5"}},
    {"JoinedLinesEndOnePixelShort",
     [](VectorPicture& p) {
       p.Line(0, 0, 3, 1);
       p.Line(3, 1, 6, 1);
     },
     {"line 255 0,0 3,1 5,1"}},
    {"SteepEndRoundsAsTheWalk",
     [](VectorPicture& p) { p.Line(0, 0, 1, 10); },
     {"line 255 0,0 1,9"}},
    {"OneStepPiecesKeepTheirPixels",
     [](VectorPicture& p) {
       p.Line(0, 0, 1, 1);
       p.Line(1, 1, 2, 2);
     },
     {"line 255 0,0 1,1"}},
    {"NewColourStartsANewLine",
     [](VectorPicture& p) {
       p.Line(0, 0, 3, 0);
       p.SetPenColor(kBlue);
       p.Line(3, 0, 6, 0);
     },
     {"line 255 0,0 2,0", "line 16711680 3,0 5,0"}},
    {"ThickLinesJoinAndKeepTheirEnd",
     [](VectorPicture& p) {
       p.ThickLine(0, 0, 2, 1);
       p.ThickLine(2, 1, 4, 4);
       p.Line(4, 4, 6, 4);
     },
     {"thick 255 0,0 2,1 4,4", "line 255 4,4 5,4"}},
    {"MovesSeparateLinesAndEmptyLinesDrawNothing",
     [](VectorPicture& p) {
       p.MoveTo(1, 5);
       p.LineTo(10, 5);
       p.LineTo(10, 5);
       p.MoveTo(1, 7);
       p.LineTo(10, 7);
     },
     {"line 255 1,5 9,5", "line 255 1,7 9,7"}},
    {"FarPositionsArePinned",
     [](VectorPicture& p) { p.Line(-kFar, 3, kFar, 3); },
     {"line 255 -2305843009213693952,3 2305843009213693951,3"}},
};

class VectorPictureShapes : public testing::TestWithParam<Case> {};

TEST_P(VectorPictureShapes, RecordTheBitmapsPixelsAsShapes) {
  VectorPicture picture(20, 20);
  picture.SetPenColor(kRed);
  GetParam().draw(picture);
  EXPECT_EQ(Describe(picture), GetParam().shapes);
}

INSTANTIATE_TEST_SUITE_P(Drawings, VectorPictureShapes, testing::ValuesIn(kCases),
                         qeltest::CaseName{});

TEST(VectorPicture, BackgroundIsTheFillOfTheUntouchedPicture) {
  struct Fill {
    int32_t width;
    int64_t x;
    int32_t border;
    int32_t background;
  };
  const Fill fills[] = {
      {20, 10, kBlue, kBlue},        // the whole picture takes the brush
      {8, 10, kBlue, 0xFFFFFF},      // the start lies outside: still white
      {20, 10, 0xFFFFFF, 0xFFFFFF},  // the start has the border colour
  };
  for (const Fill& f : fills) {
    VectorPicture picture(f.width, f.width);
    picture.SetBrushColor(kBlue);
    picture.FloodFill(f.x, f.x, f.border);
    EXPECT_EQ(picture.Background(), f.background) << f.width << " " << f.border;
  }
  VectorPicture drawn(20, 20);
  drawn.Line(0, 0, 5, 5);
  EXPECT_THROW(drawn.FloodFill(10, 10, kBlue), std::logic_error);
}

TEST(VectorWriter, AnEmptyPictureMakesEmptyDocuments) {
  const VectorPicture empty(0, 0);
  EXPECT_NE(EncodeSvg(empty).find(R"(width="0px" height="0px")"), std::string::npos);
  EXPECT_EQ(EncodePdf(empty).substr(0, 4), "%PDF");
}

}  // namespace

namespace {

// A point-wise curve of many dots stays one record per stretch of one colour, so that a picture's
// memory grows by a point per dot, and its shapes are still each dot in order.
TEST(VectorPicture, KeepsARowOfDotsAsOneRun) {
  VectorPicture picture(100, 100);
  picture.SetPenColor(kRed);
  for (int64_t u = 1; u <= 50; ++u) picture.Line(u - 1, (u * 7) % 90, u, (u * 7) % 90 + 1);
  picture.SetPenColor(kBlue);
  picture.Line(3, 3, 4, 4);
  EXPECT_EQ(picture.RunCount(), 2u);
  const std::vector<std::string> shapes = Describe(picture);
  ASSERT_EQ(shapes.size(), 51u);
  EXPECT_EQ(shapes[1], "dot 255 1,14");
  EXPECT_EQ(shapes[50], "dot " + std::to_string(kBlue) + " 3,3");
}

TEST(VectorWriter, WritesTheFileItEncodes) {
  VectorPicture picture(40, 30);
  picture.Line(0, 0, 30, 20);
  picture.DrawText({"a < b", 2, 2, 10});
  const std::string path = testing::TempDir() + "qel_vector_stream.svg";
  WriteSvgFile(path, picture);
  std::ifstream in(path, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(path.c_str());
  // The library numbers its surfaces, so each document names its group differently.
  const auto unnamed = [](const std::string& svg) {
    return std::regex_replace(svg, std::regex("surface[0-9]+"), "surface");
  };
  EXPECT_EQ(unnamed(written), unnamed(EncodeSvg(picture)));
  EXPECT_NE(written.find(">a &lt; b</text>\n</svg>"), std::string::npos) << written;
}

}  // namespace
