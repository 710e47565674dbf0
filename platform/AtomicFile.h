#pragma once

#include <sys/types.h>

#include <stdexcept>
#include <string>
#include <string_view>

// A file that cannot be created or written; the message is the platform's "Cannot create file
// <path>".
class FileCreateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes a file chunk by chunk so that a failed or interrupted write leaves the previous file byte
// for byte intact. What the path names decides how:
// - a regular file, or nothing yet: the bytes go to a temporary file ".qel-save-XXXXXX" in the same
//   folder, which Commit flushes to disk and renames over the target; a replaced file keeps its
//   permission bits and, where the process may set them, its owner and group;
// - a character device or a FIFO (links followed): written directly, nothing is renamed;
// - a link: the file it points to is written, the link stays; a dangling link or a loop fails;
// - anything else (a folder, a socket) fails.
// A writable file in a folder where no temporary file can be created is rewritten in place at
// Commit, from the bytes kept in memory until then. Every failure throws FileCreateError; a writer
// destroyed without Commit removes its temporary file.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::string& path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void Write(std::string_view chunk);
  void Commit();

 private:
  enum class Mode { Replace, Direct, InPlace };

  void OpenTemporary(const std::string& folder);
  [[noreturn]] void Fail();
  void Discard();
  void CommitReplace();
  void CommitInPlace();

  std::string requested_;
  std::string target_;
  std::string temp_;
  std::string pending_;  // InPlace: everything written so far
  Mode mode_ = Mode::Replace;
  int fd_ = -1;
  bool targetExists_ = false;
  mode_t permissions_ = 0;
  uid_t owner_ = 0;
  gid_t group_ = 0;
};

// One whole file through AtomicFileWriter.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Removes a temporary file that a writer still holds; safe to call from a signal handler.
void RemovePendingTemporaryFile();

// After each successful save, the same user's temporary files of earlier interrupted saves (the
// exact ".qel-save-XXXXXX" names, regular files older than a day) are removed from that folder.
void EnableStaleTemporaryFileCleanup();

// The cleanup itself, for one folder.
void RemoveStaleTemporaryFiles(const std::string& folder);
