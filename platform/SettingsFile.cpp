#include "platform/SettingsFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>

bool IsSafeSettingsFile(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return errno == ENOENT;
  return S_ISREG(status.st_mode) && std::size_t(status.st_size) <= kMaxSettingsFileBytes;
}

std::vector<std::string> UsableRecentPaths(const std::vector<std::string>& stored,
                                           std::size_t limit) {
  std::vector<std::string> usable;
  for (const std::string& path : stored) {
    if (usable.size() == limit) break;
    if (path.starts_with('/') && path.size() < PATH_MAX && path.find('\0') == std::string::npos)
      usable.push_back(path);
  }
  return usable;
}
