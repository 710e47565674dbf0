#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>

// What a file was when it was read or written, so that a save can tell whether someone else has
// changed the file since.
struct FileStamp {
  std::string Path;
  dev_t Device = 0;
  ino_t Inode = 0;
  off_t Size = 0;
  timespec Modified{};
};

std::optional<FileStamp> StampOf(const std::string& path);

// True when path is the stamped file and it has been changed, replaced or removed since.
bool ChangedSince(const std::optional<FileStamp>& stamp, const std::string& path);

// True when both names reach the same file; names of no file are compared as they are.
bool IsSameFile(const std::string& a, const std::string& b);
