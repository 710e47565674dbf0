// Any bytes as a project file: reading never crashes or allocates without bound, and what was read
// survives a save and a re-read unchanged.
#include "fuzz/FuzzInput.h"
#include "platform/Conversions.h"
#include "project/ProjectFile.h"

namespace {

bool ReadQuietly(std::string_view bytes, ProjectDocument& document) {
  try {
    ReadProjectText(bytes, document);
    return true;
  } catch (const ConvertError&) {
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ProjectDocument first;
  const bool countRead = ReadQuietly(bytes, first);
  if (!countRead && !first.Functions.empty()) FuzzFailure("entries read past a bad count line");
  if (first.Functions.size() > MaxEntriesWithoutBlocks + size / 14 + 1) {
    FuzzFailure("more entries than the file can justify");
  }

  const std::string saved = ProjectFileText(first);
  ProjectDocument second;
  if (!ReadQuietly(saved, second)) FuzzFailure("a saved file does not read back");
  if (!(second.Settings == first.Settings)) FuzzFailure("settings changed by save and re-read");
  if (!(second.Functions == first.Functions)) FuzzFailure("functions changed by save and re-read");
  if (second.Modified) FuzzFailure("a re-read document is modified");
  if (ProjectFileText(second) != saved) FuzzFailure("a second save differs from the first");
  return 0;
}
