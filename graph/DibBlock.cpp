#include "graph/DibBlock.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kPaletteEntries = 256;

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

int ColorDistance(int32_t a, int32_t b) {
  int sum = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = ((a >> shift) & 0xFF) - ((b >> shift) & 0xFF);
    sum += d * d;
  }
  return sum;
}

uint8_t NearestIndex(int32_t color, const std::vector<int32_t>& palette) {
  size_t best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (size_t i = 0; i < palette.size() && i < kPaletteEntries; ++i) {
    const int d = ColorDistance(color, palette[i] & 0xFFFFFF);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return static_cast<uint8_t>(best);
}

std::string ColorTable(const std::vector<int32_t>& palette) {
  std::string table(kPaletteEntries * 4, '\0');
  for (size_t i = 0; i < palette.size() && i < kPaletteEntries; ++i) {
    table[4 * i] = static_cast<char>((palette[i] >> 16) & 0xFF);
    table[4 * i + 1] = static_cast<char>((palette[i] >> 8) & 0xFF);
    table[4 * i + 2] = static_cast<char>(palette[i] & 0xFF);
  }
  return table;
}

std::string Rows8(const Bitmap& bitmap, const std::vector<int32_t>& palette) {
  const uint32_t rowSize = DibRowSize(bitmap.Width(), 8);
  std::string rows(static_cast<size_t>(rowSize) * bitmap.Height(), '\0');
  size_t offset = 0;
  for (int32_t y = bitmap.Height() - 1; y >= 0; --y, offset += rowSize) {
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      rows[offset + x] = static_cast<char>(NearestIndex(bitmap.Pixel(x, y), palette));
    }
  }
  return rows;
}

}  // namespace

uint32_t DibRowSize(int32_t width, int bitsPerPixel) {
  const uint64_t bits = static_cast<uint64_t>(std::max(width, 0)) * bitsPerPixel;
  return static_cast<uint32_t>((bits + 31) / 32 * 4);
}

std::string DibInfoHeader(int32_t width, int32_t height, int bitsPerPixel, uint32_t colorsUsed) {
  std::string header;
  header.reserve(kInfoHeaderSize);
  PutLe(header, kInfoHeaderSize, 4);
  PutLe(header, static_cast<uint32_t>(width), 4);
  PutLe(header, static_cast<uint32_t>(height), 4);
  PutLe(header, 1, 2);
  PutLe(header, static_cast<uint32_t>(bitsPerPixel), 2);
  PutLe(header, 0, 4);  // uncompressed
  PutLe(header, DibRowSize(width, bitsPerPixel) * static_cast<uint32_t>(std::max(height, 0)), 4);
  PutLe(header, 0, 4);
  PutLe(header, 0, 4);
  PutLe(header, colorsUsed, 4);
  PutLe(header, colorsUsed, 4);
  return header;
}

namespace {

// Four pixels at a time as three 32-bit words: R0G0B0R1 G1B1R2G2 B2R3G3B3 become
// B0G0R0B1 G1R1B2G2 R2B3G3R3, which compilers turn into a few shifts and masks per word.
void SwapFourPixels(const uint8_t* src, uint8_t* dst) {
  uint32_t a, b, c;
  std::memcpy(&a, src, 4);
  std::memcpy(&b, src + 4, 4);
  std::memcpy(&c, src + 8, 4);
  const uint32_t x = (a >> 16 & 0xFF) | (a & 0xFF00) | (a & 0xFF) << 16 | (b >> 8 & 0xFF) << 24;
  const uint32_t y = (b & 0xFF) | (a >> 24) << 8 | (c & 0xFF) << 16 | (b & 0xFF000000);
  const uint32_t z =
      (b >> 16 & 0xFF) | (c >> 24) << 8 | (c >> 16 & 0xFF) << 16 | (c >> 8 & 0xFF) << 24;
  std::memcpy(dst, &x, 4);
  std::memcpy(dst + 4, &y, 4);
  std::memcpy(dst + 8, &z, 4);
}

}  // namespace

void AppendDibRow24(const Bitmap& bitmap, int32_t y, std::string& out) {
  const size_t offset = out.size();
  out.resize(offset + DibRowSize(bitmap.Width(), 24), '\0');
  // Through pointers that cannot alias, so that the loop is not held up re-reading the string.
  const uint8_t* __restrict src = bitmap.Row(y);
  auto* __restrict dst = reinterpret_cast<uint8_t*>(out.data() + offset);
  const size_t bytes = static_cast<size_t>(bitmap.Width()) * 3;
  size_t i = 0;
  for (; i + 12 <= bytes; i += 12) SwapFourPixels(src + i, dst + i);
  for (; i < bytes; i += 3) {
    dst[i] = src[i + 2];
    dst[i + 1] = src[i + 1];
    dst[i + 2] = src[i];
  }
}

std::string DibRows24(const Bitmap& bitmap) {
  std::string rows;
  rows.reserve(static_cast<size_t>(DibRowSize(bitmap.Width(), 24)) * bitmap.Height());
  for (int32_t y = bitmap.Height() - 1; y >= 0; --y) AppendDibRow24(bitmap, y, rows);
  return rows;
}

DibBlock BuildDibBlock(const Bitmap& bitmap, const std::vector<int32_t>* systemPalette) {
  DibBlock block;
  block.Width = bitmap.Width();
  block.Height = bitmap.Height();
  block.BitsPerPixel = systemPalette ? 8 : 24;
  block.RowSize = DibRowSize(block.Width, block.BitsPerPixel);
  const uint32_t colorsUsed = systemPalette ? kPaletteEntries : 0;
  block.Header = DibInfoHeader(block.Width, block.Height, block.BitsPerPixel, colorsUsed);
  if (systemPalette) {
    block.Header += ColorTable(*systemPalette);
    block.Bits = Rows8(bitmap, *systemPalette);
  } else {
    block.Header.append(4, '\0');
    block.Bits = DibRows24(bitmap);
  }
  return block;
}
