#include "graph/BmpWriter.h"

#include "graph/DibBlock.h"
#include "platform/AtomicFile.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr size_t kChunkSize = size_t{1} << 20;

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// The file header and the info header, followed in the file by the rows.
std::string BmpHeaders(const Bitmap& bitmap) {
  const uint64_t rows = uint64_t{DibRowSize(bitmap.Width(), 24)} * bitmap.Height();
  std::string headers = "BM";
  PutLe(headers, static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize + rows), 4);
  PutLe(headers, 0, 4);
  PutLe(headers, kFileHeaderSize + kInfoHeaderSize, 4);
  headers += DibInfoHeader(bitmap.Width(), bitmap.Height(), 24, 0);
  return headers;
}

}  // namespace

std::string EncodeBmp(const Bitmap& bitmap) {
  return BmpHeaders(bitmap) + DibRows24(bitmap);
}

// Rows go to the file as they are encoded, so the picture is never held twice in memory.
void WriteBmpFile(const std::string& path, const Bitmap& bitmap) {
  AtomicFileWriter file(path);
  std::string chunk = BmpHeaders(bitmap);
  chunk.reserve(kChunkSize + DibRowSize(bitmap.Width(), 24));
  for (int32_t y = bitmap.Height() - 1; y >= 0; --y) {
    AppendDibRow24(bitmap, y, chunk);
    if (chunk.size() < kChunkSize) continue;
    file.Write(chunk);
    chunk.clear();
  }
  file.Write(chunk);
  file.Commit();
}
