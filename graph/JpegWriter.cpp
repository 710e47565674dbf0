#include "graph/JpegWriter.h"

#include <csetjmp>
#include <cstdio>
#include <functional>
#include <memory>
#include <string_view>

#include <jerror.h>
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

// Hands the compressed bytes on in pieces as the library fills its buffer. The sink returns false
// when it could not take them; the library is then stopped with a write error.
struct Destination {
  jpeg_destination_mgr mgr;  // first, so the library's pointer is this struct's
  std::function<bool(std::string_view)>* sink;
  JOCTET buffer[65536];
};

bool Deliver(Destination& dest, size_t size) {
  return (*dest.sink)(std::string_view(reinterpret_cast<const char*>(dest.buffer), size));
}

void Rewind(Destination& dest) {
  dest.mgr.next_output_byte = dest.buffer;
  dest.mgr.free_in_buffer = sizeof dest.buffer;
}

void OnInitDestination(j_compress_ptr cinfo) {
  Rewind(*reinterpret_cast<Destination*>(cinfo->dest));
}

boolean OnBufferFull(j_compress_ptr cinfo) {
  auto& dest = *reinterpret_cast<Destination*>(cinfo->dest);
  if (!Deliver(dest, sizeof dest.buffer)) ERREXIT(cinfo, JERR_FILE_WRITE);
  Rewind(dest);
  return TRUE;
}

void OnTermDestination(j_compress_ptr cinfo) {
  auto& dest = *reinterpret_cast<Destination*>(cinfo->dest);
  if (!Deliver(dest, sizeof dest.buffer - dest.mgr.free_in_buffer)) {
    ERREXIT(cinfo, JERR_FILE_WRITE);
  }
}

// Kept free of objects with destructors: the error path leaves it by longjmp.
bool Compress(const Bitmap& bitmap, int quality, ErrorTrap& trap, Destination& dest) {
  jpeg_compress_struct cinfo;
  cinfo.err = jpeg_std_error(&trap.mgr);
  trap.mgr.error_exit = OnFatalError;
  trap.mgr.output_message = OnMessage;
  if (setjmp(trap.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  dest.mgr.init_destination = OnInitDestination;
  dest.mgr.empty_output_buffer = OnBufferFull;
  dest.mgr.term_destination = OnTermDestination;
  cinfo.dest = &dest.mgr;
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

// Compresses into the sink; throws JpegError when the library refuses the picture.
void CompressTo(const Bitmap& bitmap, int quality, std::function<bool(std::string_view)> sink) {
  ErrorTrap trap{};
  auto dest = std::make_unique<Destination>();
  dest->sink = &sink;
  if (!Compress(bitmap, quality, trap, *dest)) throw JpegError(trap.message);
}

}  // namespace

std::string EncodeJpeg(const Bitmap& bitmap, int quality) {
  std::string bytes;
  CompressTo(bitmap, quality, [&bytes](std::string_view piece) {
    bytes.append(piece);
    return true;
  });
  return bytes;
}

// Scanlines go to the file as they are compressed, so the picture is never held twice in memory.
void WriteJpegFile(const std::string& path, const Bitmap& bitmap, int quality) {
  AtomicFileWriter file(path);
  bool writeFailed = false;
  try {
    CompressTo(bitmap, quality, [&file, &writeFailed](std::string_view piece) {
      try {
        file.Write(piece);
        return true;
      } catch (const FileCreateError&) {
        writeFailed = true;
        return false;
      }
    });
  } catch (const JpegError&) {
    if (writeFailed) throw FileCreateError("Cannot create file " + path);
    throw;
  }
  file.Commit();
}
