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
  } cases[] = {
      {"graph.png", F::Jpeg, F::Png},
      {"graph.PNG", F::Jpeg, F::Png},
      {"a/b.JpEg", F::Pdf, F::Jpeg},
      {"b.jpg", F::Bmp, F::Jpeg},
      {"c.Svg", F::Png, F::Svg},
      {"d.pdf", F::Svg, F::Pdf},
      {"e.bmp", F::Jpeg, F::Bmp},
      {"graph", F::Bmp, F::Bmp},
      {"graph.txt", F::Png, F::Png},
      {"graph.png.txt", F::Svg, F::Svg},
      {"bild.png/graph", F::Pdf, F::Pdf},
      {"graphpng", F::Jpeg, F::Jpeg},
      {"gr\xE4"
       "f.png",
       F::Bmp, F::Png},
      {"", F::Svg, F::Svg},
      {"x.jpe", F::Bmp, F::Bmp},
      {".pdf", F::Jpeg, F::Pdf},
  };
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
  const struct {
    int32_t Width, Height, FirstRow, Rows;
  } cases[] = {{10, 8, 3, 1}, {30, 24, 9, 3}, {40, 8, 3, 1}, {10, 32, 12, 4}};
  for (const auto& c : cases) {
    const Bitmap bitmap = RasterizeVectorPicture(picture, c.Width, c.Height);
    ASSERT_EQ(bitmap.Width(), c.Width);
    ASSERT_EQ(bitmap.Height(), c.Height);
    int red = 0, white = 0;
    for (int32_t y = 0; y < c.Height; ++y) {
      for (int32_t x = 0; x < c.Width; ++x) {
        const bool line = y >= c.FirstRow && y < c.FirstRow + c.Rows;
        red += line && bitmap.Pixel(x, y) == 0x0000FF;
        white += !line && bitmap.Pixel(x, y) == 0xFFFFFF;
      }
    }
    EXPECT_EQ(red, c.Width * c.Rows) << c.Width << "x" << c.Height;
    EXPECT_EQ(white, c.Width * (c.Height - c.Rows)) << c.Width << "x" << c.Height;
  }
}

}  // namespace
