#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <jpeglib.h>

#include "graph/BmpWriter.h"
#include "graph/DibBlock.h"
#include "graph/JpegWriter.h"
#include "platform/AtomicFile.h"

namespace {

uint32_t Le(const std::string& s, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(s[at + i]);
  return v;
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

Bitmap Sample(int32_t w, int32_t h) {
  Bitmap bm(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) bm.SetPixel(x, y, (x * 37 + y * 11) * 0x010305);
  }
  return bm;
}

struct Decoded {
  int width = 0, height = 0, components = 0;
  bool progressive = true;
  unsigned lumaDc = 0;
  int red = 0, green = 0, blue = 0;  // first pixel
};

struct Trap {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void Fail(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<Trap*>(cinfo->err)->jump, 1);
}

bool Decode(const std::string& bytes, Decoded& out) {
  jpeg_decompress_struct cinfo;
  Trap trap;
  cinfo.err = jpeg_std_error(&trap.mgr);
  trap.mgr.error_exit = Fail;
  if (setjmp(trap.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&cinfo, TRUE);
  jpeg_start_decompress(&cinfo);
  out.width = static_cast<int>(cinfo.output_width);
  out.height = static_cast<int>(cinfo.output_height);
  out.components = cinfo.num_components;
  out.progressive = cinfo.progressive_mode;
  out.lumaDc = cinfo.quant_tbl_ptrs[0]->quantval[0];
  std::string row(cinfo.output_width * cinfo.output_components, '\0');
  JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row.data())};
  for (JDIMENSION y = 0; y < cinfo.output_height; ++y) {
    jpeg_read_scanlines(&cinfo, rows, 1);
    if (y == 0) {
      out.red = static_cast<uint8_t>(row[0]);
      out.green = static_cast<uint8_t>(row[1]);
      out.blue = static_cast<uint8_t>(row[2]);
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

TEST(JpegWriter, WritesBaselineColourImageWithTheQualitysTables) {
  // Luminance DC entry 16 scaled by the quality; at quality 2 the scaled value is cut to the
  // baseline limit of 255.
  const struct {
    int quality;
    unsigned lumaDc;
  } cases[] = {{2, 255}, {60, 13}, {100, 1}};
  Bitmap bm(633, 17);
  bm.SetBrushColor(0x0000FF);
  bm.FillRect(0, 0, 633, 17);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.quality);
    Decoded d;
    const std::string bytes = EncodeJpeg(bm, c.quality);
    ASSERT_TRUE(Decode(bytes, d));
    EXPECT_EQ(d.width, 633);
    EXPECT_EQ(d.height, 17);
    EXPECT_EQ(d.components, 3);
    EXPECT_FALSE(d.progressive);
    EXPECT_NE(bytes.find("\xFF\xC0", 0, 2), std::string::npos);  // baseline frame marker
    EXPECT_EQ(d.lumaDc, c.lumaDc);
    if (c.quality >= 60) {
      EXPECT_GT(d.red, 230);
      EXPECT_LT(d.green + d.blue, 40);
    }
  }
}

TEST(JpegWriter, EmptyBitmapIsRefusedWithTheLibrarysText) {
  try {
    EncodeJpeg(Bitmap(0, 5), 60);
    FAIL() << "no error";
  } catch (const JpegError& e) {
    EXPECT_FALSE(std::string(e.what()).empty());
  }
}

TEST(BmpWriter, FileRoundTripsPixelsAndSize) {
  const auto dir = std::filesystem::temp_directory_path() / "qel_bmp_test";
  std::filesystem::create_directories(dir);
  const auto path = dir / "pic.bmp";
  const Bitmap bm = Sample(5, 3);
  WriteBmpFile(path.string(), bm);
  const std::string file = ReadAll(path);
  ASSERT_EQ(file.size(), 14u + 40u + 16u * 3u);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(Le(file, 2, 4), file.size());
  EXPECT_EQ(Le(file, 10, 4), 54u);
  EXPECT_EQ(Le(file, 18, 4), 5u);
  EXPECT_EQ(Le(file, 22, 4), 3u);
  EXPECT_EQ(Le(file, 28, 2), 24u);
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 5; ++x) {
      const size_t at = 54 + (2 - y) * 16 + x * 3;  // bottom-up rows, blue-green-red
      EXPECT_EQ(static_cast<int32_t>(Le(file, at, 3)), ((bm.Pixel(x, y) & 0xFF) << 16) |
                                                           (bm.Pixel(x, y) & 0xFF00) |
                                                           ((bm.Pixel(x, y) >> 16) & 0xFF));
    }
  }
  std::filesystem::remove_all(dir);
}

TEST(ImageFiles, FailedWriteRaisesAndLeavesNothingBehind) {
  const auto dir = std::filesystem::temp_directory_path() / "qel_missing_dir_for_images";
  std::filesystem::remove_all(dir);
  const Bitmap bm = Sample(20, 20);
  EXPECT_THROW(WriteBmpFile((dir / "a.bmp").string(), bm), FileCreateError);
  EXPECT_THROW(WriteJpegFile((dir / "a.jpg").string(), bm, 60), FileCreateError);
  EXPECT_FALSE(std::filesystem::exists(dir));
}

TEST(DibBlock, HeaderAndPaddedRowsForTrueColour) {
  const struct {
    int32_t width, height;
    uint32_t rowSize;
  } cases[] = {{633, 4, 1900}, {632, 3, 1896}, {1, 2, 4}, {2, 1, 8}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    const DibBlock dib = BuildDibBlock(Sample(c.width, c.height));
    EXPECT_EQ(dib.Header.size(), 44u);
    EXPECT_EQ(dib.RowSize, c.rowSize);
    EXPECT_EQ(dib.Bits.size(), c.rowSize * c.height);
    EXPECT_EQ(Le(dib.Header, 0, 4), 40u);
    EXPECT_EQ(Le(dib.Header, 4, 4), static_cast<uint32_t>(c.width));
    EXPECT_EQ(Le(dib.Header, 8, 4), static_cast<uint32_t>(c.height));
    EXPECT_EQ(Le(dib.Header, 12, 2), 1u);
    EXPECT_EQ(Le(dib.Header, 14, 2), 24u);
    EXPECT_EQ(Le(dib.Header, 16, 4), 0u);
    EXPECT_EQ(Le(dib.Header, 20, 4), c.rowSize * c.height);
    EXPECT_EQ(dib.Header.substr(24), std::string(20, '\0'));
    const Bitmap bm = Sample(c.width, c.height);
    for (int32_t y = 0; y < c.height; ++y)
      for (int32_t x = 0; x < c.width; ++x) {
        const size_t at = (c.height - 1 - y) * c.rowSize + x * 3;  // bottom-up, blue-green-red
        const int32_t p = bm.Pixel(x, y);
        ASSERT_EQ(static_cast<int32_t>(Le(dib.Bits, at, 3)),
                  (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF))
            << x << "," << y;
      }
  }
}

TEST(DibBlock, PaletteModeMapsPixelsToTheNearestSystemColour) {
  Bitmap bm(3, 2);
  bm.SetPixel(0, 0, 0x0000F0);  // nearly red
  bm.SetPixel(1, 1, 0x101010);  // nearly black
  const std::vector<int32_t> palette = {0x000000, 0x0000FF, 0xFFFFFF};
  const DibBlock dib = BuildDibBlock(bm, &palette);
  ASSERT_EQ(dib.Header.size(), 1064u);
  EXPECT_EQ(Le(dib.Header, 14, 2), 8u);
  EXPECT_EQ(Le(dib.Header, 32, 4), 256u);
  EXPECT_EQ(Le(dib.Header, 36, 4), 256u);
  EXPECT_EQ(Le(dib.Header, 40 + 4, 4), 0x00FF0000u);  // entry 1: blue, green, red=FF, reserved
  EXPECT_EQ(dib.RowSize, 4u);
  EXPECT_EQ(dib.Bits, std::string("\x02\x00\x02\x00\x01\x02\x02\x00", 8));  // bottom row first
}

}  // namespace
