#include "graph/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

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

// Kept free of objects with destructors: the error path leaves it by longjmp.
bool Compress(const Bitmap& bitmap, Output& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &out, OnError, OnWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, Append, Flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width()),
               static_cast<png_uint_32>(bitmap.Height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t y = 0; y < bitmap.Height(); ++y) png_write_row(png, bitmap.Row(y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::string EncodePng(const Bitmap& bitmap) {
  Output out;
  if (!Compress(bitmap, out)) throw PngError(out.Message);
  return std::move(out.Bytes);
}

void WritePngFile(const std::string& path, const Bitmap& bitmap) {
  WriteFileAtomically(path, EncodePng(bitmap));
}
