#include <gtest/gtest.h>

#include "graph/PictureFormat.h"
#include "graph/VectorWriter.h"

namespace {

using F = PictureFormat;

TEST(PictureFormat, ATypedExtensionNamesTheFormatAndTheChoiceDecidesOtherwise) {
  const struct {
    const char* Name;
    F Chosen;
    F Written;
  } cases[] = {{"graph.png", F::Jpeg, F::Png},     {"graph.PNG", F::Jpeg, F::Png},
               {"a/b.JpEg", F::Pdf, F::Jpeg},      {"b.jpg", F::Bmp, F::Jpeg},
               {"c.Svg", F::Png, F::Svg},          {"d.pdf", F::Svg, F::Pdf},
               {"e.bmp", F::Jpeg, F::Bmp},         {"graph", F::Bmp, F::Bmp},
               {"graph.txt", F::Png, F::Png},      {"graph.png.txt", F::Svg, F::Svg},
               {"bild.png/graph", F::Pdf, F::Pdf}, {"graphpng", F::Jpeg, F::Jpeg},
               {"gr\xE4.png", F::Bmp, F::Png},     {"", F::Svg, F::Svg},
               {"x.jpe", F::Bmp, F::Bmp},          {".pdf", F::Jpeg, F::Pdf}};
  for (const auto& c : cases) {
    EXPECT_EQ(PictureFormatToWrite(c.Name, c.Chosen), c.Written) << c.Name;
  }
}

// Stretched over more pixels, a one-pixel line covers as many rows as it is stretched, in its
// colour, and nothing else changes colour.
TEST(PictureOutput, AVectorPictureIsRasterizedStretchedToTheGivenSize) {
  VectorPicture picture(10, 8);
  picture.SetPenColor(0x0000FF);
  picture.Line(0, 3, 10, 3);
  const int32_t cases[][4] = {{10, 8, 3, 1}, {30, 24, 9, 3}, {40, 8, 3, 1}, {10, 32, 12, 4}};
  for (const auto& [width, height, firstRow, rows] : cases) {
    const Bitmap bitmap = RasterizeVectorPicture(picture, width, height);
    ASSERT_EQ(bitmap.Width() * 1000 + bitmap.Height(), width * 1000 + height);
    int right = 0;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        right += bitmap.Pixel(x, y) == (y >= firstRow && y < firstRow + rows ? 0x0000FF : 0xFFFFFF);
    EXPECT_EQ(right, width * height) << width << "x" << height;
  }
}

}  // namespace
