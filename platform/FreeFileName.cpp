#include "platform/FreeFileName.h"

std::string FreeFileName(const std::string& path,
                         const std::function<bool(const std::string&)>& taken) {
  if (!taken(path)) return path;
  const std::size_t slash = path.find_last_of('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::size_t dot = path.find_last_of('.');
  // A leading dot names a hidden file, not an extension.
  if (dot == std::string::npos || dot <= nameStart) dot = path.size();
  const std::string stem = path.substr(0, dot);
  const std::string extension = path.substr(dot);
  for (unsigned long number = 2;; ++number) {
    std::string candidate = stem + " (" + std::to_string(number) + ")" + extension;
    if (!taken(candidate)) return candidate;
  }
}
