#include "platform/FileStamp.h"

#include <sys/stat.h>

std::optional<FileStamp> StampOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return FileStamp{path, status.st_dev, status.st_ino, status.st_size, status.st_mtim};
}

bool ChangedSince(const std::optional<FileStamp>& stamp, const std::string& path) {
  if (!stamp || stamp->Path != path) return false;
  const std::optional<FileStamp> now = StampOf(path);
  return !now || now->Device != stamp->Device || now->Inode != stamp->Inode ||
         now->Size != stamp->Size || now->Modified.tv_sec != stamp->Modified.tv_sec ||
         now->Modified.tv_nsec != stamp->Modified.tv_nsec;
}

bool IsSameFile(const std::string& a, const std::string& b) {
  const std::optional<FileStamp> first = StampOf(a), second = StampOf(b);
  if (!first || !second) return a == b;
  return first->Device == second->Device && first->Inode == second->Inode;
}
