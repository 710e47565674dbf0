// Stored recent entries of any bytes: what is listed is a bounded selection of them, in their
// order, each an absolute path free of NUL and no longer than a path can be. The input's first
// byte is the limit, the rest entries separated by line feeds (NULs kept).
#include <climits>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "platform/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const size_t limit = in.Byte() % 16;
  std::vector<std::string> stored;
  while (!in.Empty()) stored.push_back(in.Line());

  const std::vector<std::string> listed = UsableRecentPaths(stored, limit);
  if (listed.size() > limit) FuzzFailure("more entries than the limit");
  size_t from = 0;
  for (const std::string& path : listed) {
    if (!path.starts_with('/') || path.size() >= PATH_MAX)
      FuzzFailure("an entry that names no file");
    if (path.find('\0') != std::string::npos) FuzzFailure("an entry with a NUL");
    while (from < stored.size() && stored[from] != path) ++from;
    if (from++ == stored.size()) FuzzFailure("an entry not stored, or out of order");
  }
  return 0;
}
