#include "graph/JpegWriter.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "platform/AtomicFile.h"

namespace {

// The library reports fatal errors through a callback that must not return; it jumps back here.
struct ErrorTrap {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnFatalError(j_common_ptr cinfo) {
  auto* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, trap->message);
  std::longjmp(trap->jump, 1);
}

void OnMessage(j_common_ptr) {}

// Kept free of objects with destructors: the error path leaves it by longjmp.
bool Compress(const Bitmap& bitmap, int quality, ErrorTrap& trap, unsigned char** out,
              unsigned long* size) {
  jpeg_compress_struct cinfo;
  cinfo.err = jpeg_std_error(&trap.mgr);
  trap.mgr.error_exit = OnFatalError;
  trap.mgr.output_message = OnMessage;
  if (setjmp(trap.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, out, size);
  cinfo.image_width = static_cast<JDIMENSION>(bitmap.Width());
  cinfo.image_height = static_cast<JDIMENSION>(bitmap.Height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    // The library only reads the rows; its interface is not const-correct.
    JSAMPROW row = const_cast<JSAMPROW>(bitmap.Row(static_cast<int32_t>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

std::string EncodeJpeg(const Bitmap& bitmap, int quality) {
  ErrorTrap trap{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = Compress(bitmap, quality, trap, &buffer, &size);
  std::string bytes = ok ? std::string(reinterpret_cast<const char*>(buffer), size) : "";
  std::free(buffer);
  if (!ok) throw JpegError(trap.message);
  return bytes;
}

void WriteJpegFile(const std::string& path, const Bitmap& bitmap, int quality) {
  WriteFileAtomically(path, EncodeJpeg(bitmap, quality));
}
