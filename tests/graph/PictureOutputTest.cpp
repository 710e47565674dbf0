#include <gtest/gtest.h>

#include "graph/PictureFormat.h"

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

}  // namespace
