#include "graph/PngWriter.h"

#include <png.h>

#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/AtomicFile.h"

namespace {

struct Output {
  std::string Bytes;
  char Message[200] = "";
};

void Append(png_structp png, png_bytep data, png_size_t length) {
  static_cast<Output*>(png_get_io_ptr(png))
      ->Bytes.append(reinterpret_cast<const char*>(data), length);
}

void Flush(png_structp) {}

// The library reports fatal errors through a callback that must not return; it jumps back.
void OnError(png_structp png, png_const_charp message) {
  auto* out = static_cast<Output*>(png_get_error_ptr(png));
  snprintf(out->Message, sizeof out->Message, "%s", message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Line art holds few colours: up to 256 of them go into a palette, which leaves a third of the
// bytes to compress and decodes to the very same pixels.
struct Palette {
  std::vector<png_color> Colors;
  std::vector<uint8_t> Indices;
};

uint32_t ColorKey(const uint8_t* pixel) {
  return pixel[0] | uint32_t{pixel[1]} << 8 | uint32_t{pixel[2]} << 16;
}

// The colour's number in the palette, added when new; none once there would be more than 256.
std::optional<uint8_t> IndexOf(std::vector<uint32_t>& keys, uint32_t key) {
  size_t i = 0;
  while (i < keys.size() && keys[i] != key) ++i;
  if (i == 256) return std::nullopt;
  if (i == keys.size()) keys.push_back(key);
  return static_cast<uint8_t>(i);
}

// No pixel has this key: the first one always looks its colour up.
constexpr uint32_t kNoKey = 0xFFFFFFFF;

bool IndexColors(const Bitmap& bitmap, Palette& palette) {
  const size_t width = static_cast<size_t>(bitmap.Width());
  palette.Indices.resize(width * static_cast<size_t>(bitmap.Height()));
  std::vector<uint32_t> keys;
  uint32_t last = kNoKey;
  uint8_t lastIndex = 0;
  // Four pixels of the last colour: runs of it, the background above all, go four at a compare.
  uint8_t run[12] = {};
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* pixel = bitmap.Row(y);
    uint8_t* index = palette.Indices.data() + static_cast<size_t>(y) * width;
    for (size_t x = 0; x < width;) {
      if (x + 4 <= width && last != kNoKey && std::memcmp(pixel, run, sizeof run) == 0) {
        std::memset(index + x, lastIndex, 4);
        x += 4, pixel += 12;
        continue;
      }
      const uint32_t key = ColorKey(pixel);
      if (key != last) {
        const std::optional<uint8_t> i = IndexOf(keys, key);
        if (!i) return false;
        last = key, lastIndex = *i;
        for (size_t k = 0; k < sizeof run; k += 3) std::memcpy(run + k, pixel, 3);
      }
      index[x++] = lastIndex;
      pixel += 3;
    }
  }
  for (const uint32_t key : keys) {
    palette.Colors.push_back({static_cast<png_byte>(key), static_cast<png_byte>(key >> 8),
                              static_cast<png_byte>(key >> 16)});
  }
  return true;
}

// Each row against the one above it, deflated at the fastest level: as small as the library's
// default effort on line art at a fraction of its time. Runs of palette indices compress best as
// runs.
void SetCompression(png_structp png, bool indexed) {
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_compression_level(png, 1);
  if (indexed) png_set_compression_strategy(png, Z_RLE);
}

// Kept free of objects with destructors: the error path leaves it by longjmp.
bool Compress(const Bitmap& bitmap, const Palette* palette, Output& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &out, OnError, OnWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, Append, Flush);
  SetCompression(png, palette != nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width()),
               static_cast<png_uint_32>(bitmap.Height()), 8,
               palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (palette) {
    png_set_PLTE(png, info, palette->Colors.data(), static_cast<int>(palette->Colors.size()));
  }
  png_write_info(png, info);
  const size_t width = static_cast<size_t>(bitmap.Width());
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    png_write_row(
        png, palette ? palette->Indices.data() + static_cast<size_t>(y) * width : bitmap.Row(y));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::string EncodePng(const Bitmap& bitmap) {
  Output out;
  Palette palette;
  const bool indexed = IndexColors(bitmap, palette);
  if (!Compress(bitmap, indexed ? &palette : nullptr, out)) throw PngError(out.Message);
  return std::move(out.Bytes);
}

void WritePngFile(const std::string& path, const Bitmap& bitmap) {
  WriteFileAtomically(path, EncodePng(bitmap));
}
