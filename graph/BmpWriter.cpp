#include "graph/BmpWriter.h"

#include "graph/DibBlock.h"
#include "platform/AtomicFile.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string EncodeBmp(const Bitmap& bitmap) {
  const std::string rows = DibRows24(bitmap);
  std::string file = "BM";
  PutLe(file, static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize + rows.size()), 4);
  PutLe(file, 0, 4);
  PutLe(file, kFileHeaderSize + kInfoHeaderSize, 4);
  file += DibInfoHeader(bitmap.Width(), bitmap.Height(), 24, 0);
  file += rows;
  return file;
}

void WriteBmpFile(const std::string& path, const Bitmap& bitmap) {
  WriteFileAtomically(path, EncodeBmp(bitmap));
}
