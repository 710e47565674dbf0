#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "bench/FormatsProject.h"
#include "engine/QelParser.h"
#include "graph/Bitmap.h"
#include "graph/GraphRenderer.h"
#include "graph/PngWriter.h"
#include "graph/VectorWriter.h"
#include "platform/AtomicFile.h"
#include "platform/RegionalSettings.h"
#include "project/ProjectFile.h"
#include "tests/support/NamedCases.h"

namespace {

namespace fs = std::filesystem;
using qeltest::PrintTo;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Standard output of a shell command, or nothing when it fails.
std::optional<std::string> Output(const std::string& command, const fs::path& out) {
  if (std::system((command + " > '" + out.string() + "'").c_str()) != 0) return std::nullopt;
  return ReadAll(out);
}

struct Raster {
  int32_t Width = 0, Height = 0;
  std::vector<uint8_t> Rgb;
  int32_t At(int32_t x, int32_t y) const {
    const uint8_t* p = Rgb.data() + (static_cast<size_t>(y) * Width + x) * 3;
    return p[0] | p[1] << 8 | p[2] << 16;
  }
};

// Any PNG as 8-bit RGB; transparency is composited onto black, which no test picture has.
Raster DecodePng(const std::string& bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Raster raster;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return raster;
  image.format = PNG_FORMAT_RGB;
  raster.Rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, raster.Rgb.data(), 0, nullptr)) return raster;
  raster.Width = static_cast<int32_t>(image.width);
  raster.Height = static_cast<int32_t>(image.height);
  return raster;
}

int Channel(int32_t color, int shift) {
  return (color >> shift) & 0xFF;
}

// Whether the pixel is the colour laid at least 40% over the background, as anti-aliasing blends
// the edges of a line.
bool Shows(int32_t pixel, int32_t color, int32_t background) {
  double along = 0, length = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const double d = Channel(color, shift) - Channel(background, shift);
    along += (Channel(pixel, shift) - Channel(background, shift)) * d;
    length += d * d;
  }
  if (length == 0) return true;
  const double coverage = along / length;
  double off = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const double blend = Channel(background, shift) +
                         coverage * (Channel(color, shift) - Channel(background, shift));
    off = std::max(off, std::abs(Channel(pixel, shift) - blend));
  }
  return coverage >= 0.4 && off <= 40;
}

int Distance(int32_t a, int32_t b) {
  int most = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    most = std::max(most, std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)));
  }
  return most;
}

// Away from the curves, background, grid and axes are where the bitmap has them, exactly (rounding
// aside); every curve pixel of the bitmap finds its colour within one pixel in the rendering,
// over the background as anti-aliasing blends it. Next to a curve the rest is not compared, nor
// where curves cross: the vector curve is smooth, and the later curve covers a little more.
// Whether pred(u, v) holds for a position of the bitmap within reach of (x, y).
template <typename Pred>
bool Around(const Bitmap& bitmap, int32_t x, int32_t y, int32_t reach, const Pred& pred) {
  for (int32_t v = std::max(0, y - reach); v <= std::min(bitmap.Height() - 1, y + reach); ++v) {
    for (int32_t u = std::max(0, x - reach); u <= std::min(bitmap.Width() - 1, x + reach); ++u) {
      if (pred(u, v)) return true;
    }
  }
  return false;
}

void ExpectSameDrawing(const Bitmap& bitmap, const Bitmap& curvesOnly, const Raster& rendered,
                       int32_t background, const std::set<int32_t>& plain) {
  ASSERT_EQ(rendered.Width, bitmap.Width());
  ASSERT_EQ(rendered.Height, bitmap.Height());
  const auto around = [&](int32_t x, int32_t y, int32_t reach, const auto& pred) {
    return Around(bitmap, x, y, reach, pred);
  };
  const auto isCurve = [&](int32_t u, int32_t v) { return !plain.contains(bitmap.Pixel(u, v)); };
  // Curves include those the axes cover and the pixels just beyond the right and lower edges: the
  // smooth edges of both may show.
  const auto nearCurve = [&](int32_t u, int32_t v) { return curvesOnly.Pixel(u, v) != background; };
  int misses = 0;
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      const int32_t color = bitmap.Pixel(x, y);
      const auto crossing = [&](int32_t u, int32_t v) {
        return isCurve(u, v) && bitmap.Pixel(u, v) != color;
      };
      bool found = true;
      if (!Around(curvesOnly, x, y, 2, nearCurve)) {
        found = Distance(rendered.At(x, y), color) <= 2;
      } else if (isCurve(x, y) && !around(x, y, 1, crossing)) {
        found = around(x, y, 1, [&](int32_t u, int32_t v) {
          return Shows(rendered.At(u, v), color, background);
        });
      }
      if (!found && ++misses <= 5) {
        ADD_FAILURE() << "colour " << std::hex << color << " missing at " << std::dec << x << ","
                      << y << " (rendered " << std::hex << rendered.At(x, y) << ")";
      }
    }
  }
  EXPECT_EQ(misses, 0);
}

struct Case {
  std::string name;
  std::function<ProjectDocument()> project;
};

ProjectDocument Example(const std::string& file) {
  ProjectDocument project;
  ReadProjectFile(std::string(QEL_EXAMPLES_DIR) + "/" + file, project);
  return project;
}

ProjectDocument Made(const std::string& width, const std::string& height, bool pointwise,
                     const std::vector<std::pair<std::string, std::string>>& functions) {
  ProjectDocument project;
  project.Settings.OutputWidth = width;
  project.Settings.OutputHeight = height;
  project.Settings.Pointwise = pointwise;
  project.Settings.BackgroundColor = 0xF0FFFF;
  for (const auto& [expression, color] : functions) {
    project.Functions.push_back(
        {std::to_string(project.Functions.size() + 1), expression, "0.02", color});
  }
  return project;
}

const Case kCases[] = {
    {"Beispiel", [] { return Example("Beispiel.qgp"); }},
    {"Trigonometrie", [] { return Example("Trigonometrie.qgp"); }},
    {"Exponentialfunktionen", [] { return Example("Exponentialfunktionen.qgp"); }},
    {"Unstetigkeiten", [] { return Example("Unstetigkeiten.qgp"); }},
    {"Wertetabelle", [] { return Example("Wertetabelle.qgp"); }},
    {"PointwiseOverGrid",
     [] {
       return Made("300", "200", true,
                   {{"sin(x)*5", "255"}, {"x^2/4", "16711680"}, {"1/x", "32768"}});
     }},
    {"SteepAndFarOff",
     [] {
       return Made("320", "240", false,
                   {{"tan(x)", "255"}, {"x*100000", "8388736"}, {"-x*x*x", "16711680"}});
     }},
    // Too small for the background fill to reach: it stays white in every format.
    {"Tiny",
     [] {
       return Made("8", "8", false, {{"x", "255"}});
     }},
    {"TwentyFunctions", [] { return TwentyFunctionsProject("640", "360"); }},
};

class PictureFormats : public testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    SetRegionalDecimalSeparator('.');
    parser_.SetConvertAllColonsAndDots(true);
    project_ = GetParam().project();
    dir_ = fs::temp_directory_path() /
           ("qel_formats_" + std::to_string(::getpid()) + "_" + GetParam().name);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  template <typename Picture>
  Picture Render() {
    const OutputSize size = RenderOutputSize(project_.Settings);
    Picture picture(size.Width, size.Height);
    const bool cancelled = false;
    GraphRenderer(project_, parser_, picture, cancelled, {}, {});
    return picture;
  }
  // The fill starts at (10, 10), so a smaller picture keeps the white it starts with.
  int32_t Background(const Bitmap& bitmap) const {
    const bool filled = bitmap.Width() > 10 && bitmap.Height() > 10;
    return filled ? project_.Settings.BackgroundColor : 0xFFFFFF;
  }
  void ExpectSame(const Bitmap& bitmap, const std::string& renderedFile) {
    const ProjectDocument all = project_;
    project_.Settings.ShowAxes = project_.Settings.ShowGrid = false;
    Bitmap curvesOnly(bitmap.Width() + 2, bitmap.Height() + 2);
    const bool cancelled = false;
    GraphRenderer(project_, parser_, curvesOnly, cancelled, {}, {});
    project_ = all;
    const ProjectSettings& s = project_.Settings;
    ExpectSameDrawing(bitmap, curvesOnly, DecodePng(ReadAll(Path(renderedFile))),
                      Background(bitmap), {Background(bitmap), s.GridColor, s.AxisColor});
  }

  fs::path Path(const std::string& name) const { return dir_ / name; }
  // Runs the command over the file, with its output in a file beside it.
  std::optional<std::string> Tool(const std::string& command, const std::string& file) {
    return Output(command + " '" + Path(file).string() + "'", Path(file + ".out"));
  }

  ProjectDocument project_;
  TQelParser parser_;
  fs::path dir_;
};

TEST_P(PictureFormats, PngIsTheBitmapPixelForPixel) {
  const Bitmap bitmap = Render<Bitmap>();
  const Raster png = DecodePng(EncodePng(bitmap));
  ASSERT_EQ(png.Width, bitmap.Width());
  ASSERT_EQ(png.Height, bitmap.Height());
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    ASSERT_TRUE(std::equal(bitmap.Row(y), bitmap.Row(y) + bitmap.Width() * 3,
                           png.Rgb.begin() + y * bitmap.Width() * 3))
        << "row " << y;
  }
}

TEST_P(PictureFormats, SvgDrawsWhatTheBitmapDrawsAtItsPixelSize) {
  const Bitmap bitmap = Render<Bitmap>();
  WriteSvgFile(Path("p.svg"), Render<VectorPicture>());
  ASSERT_TRUE(Tool("xmllint --noout", "p.svg"));
  // Without a size of its own, the rendering takes the document's: one pixel per user unit.
  ASSERT_TRUE(Tool("rsvg-convert", "p.svg"));
  ExpectSame(bitmap, "p.svg.out");
}

TEST_P(PictureFormats, PdfPageIsThePictureAt96Dpi) {
  const Bitmap bitmap = Render<Bitmap>();
  WritePdfFile(Path("p.pdf"), Render<VectorPicture>());
  const auto info = Tool("pdfinfo", "p.pdf");
  ASSERT_TRUE(info);
  // Every case's size is a multiple of 4 pixels, a whole number of points.
  const auto points = [](int32_t pixels) { return std::to_string(pixels * 3 / 4); };
  EXPECT_NE(info->find("Page size:       " + points(bitmap.Width()) + " x " +
                       points(bitmap.Height()) + " pts"),
            std::string::npos)
      << *info;
  ASSERT_TRUE(Tool("pdftoppm -r 96 -png -singlefile", "p.pdf"));
  ExpectSame(bitmap, "p.pdf.out");
}

// Up to 256 colours go into a palette, more are written as RGB; either way the pixels come back.
TEST(PngWriter, AnyNumberOfColoursComesBackPixelForPixel) {
  // 83 columns: rows end in a part of four pixels, and each row is padded.
  for (const int32_t colors : {1, 2, 256, 257, 4000}) {
    Bitmap bitmap(83, 60);
    for (int32_t i = 0; i < 83 * 60; ++i) bitmap.SetPixel(i % 83, i / 83, i / 4 % colors * 4099);
    const std::string bytes = EncodePng(bitmap);
    if (colors <= 256) {  // the palette holds each colour once, black first here included
      const size_t plte = bytes.find("PLTE");
      ASSERT_NE(plte, std::string::npos);
      const auto byte = [&](size_t i) { return static_cast<uint8_t>(bytes[plte - 4 + i]); };
      EXPECT_EQ(byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3), 3 * colors);
    }
    const Raster png = DecodePng(bytes);
    ASSERT_EQ(png.Width * png.Height, 83 * 60);
    for (int32_t y = 0; y < 60; ++y)
      ASSERT_TRUE(std::equal(bitmap.Row(y), bitmap.Row(y) + 83 * 3, png.Rgb.begin() + y * 83 * 3))
          << colors << " colours, row " << y;
  }
}

TEST(PngWriter, RefusalsAndFailedWritesLeaveNothing) {
  EXPECT_THROW(EncodePng(Bitmap(0, 0)), PngError);
  const fs::path missing = fs::temp_directory_path() / "qel_no_such_folder" / "p.png";
  EXPECT_THROW(WritePngFile(missing, Bitmap(4, 4)), FileCreateError);
  EXPECT_FALSE(fs::exists(missing.parent_path()));
}

INSTANTIATE_TEST_SUITE_P(Projects, PictureFormats, testing::ValuesIn(kCases), qeltest::CaseName{});

}  // namespace
