#include "platform/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

constexpr std::string_view kTempPrefix = ".qel-save-";
constexpr std::time_t kStaleAge = 24 * 60 * 60;

// The temporary file of the writer in progress, kept where a signal handler can read it.
char gPendingTemp[4096];
volatile std::sig_atomic_t gHasPendingTemp = 0;
std::atomic<bool> gStaleCleanup{false};

void RegisterPending(const std::string& temp) {
  gHasPendingTemp = 0;
  if (temp.size() >= sizeof gPendingTemp) return;
  std::memcpy(gPendingTemp, temp.c_str(), temp.size() + 1);
  gHasPendingTemp = 1;
}

void ForgetPending(const std::string& temp) {
  if (gHasPendingTemp && temp == gPendingTemp) gHasPendingTemp = 0;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool IsLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// A link is followed, so the file it points to gets the new contents and the link stays a link.
bool ResolveLink(const std::string& path, std::string& target) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (!resolved) return false;
  target = resolved;
  std::free(resolved);
  return true;
}

bool IsTempName(std::string_view name) {
  if (name.size() != kTempPrefix.size() + 6 || !name.starts_with(kTempPrefix)) return false;
  for (const char c : name.substr(kTempPrefix.size())) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alnum) return false;
  }
  return true;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path) : requested_(path), target_(path) {
  if (path.empty()) Fail();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    // Nothing there yet; a link that leads nowhere (dangling, a loop) is not replaced.
    if (errno != ENOENT || IsLink(path)) Fail();
    OpenTemporary(FolderOf(path));
    return;
  }
  if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) {
    // Devices and pipes are written as they are: a rename would put a plain file in their place.
    // Opening does not wait for a pipe's reader; a pipe without one fails.
    mode_ = Mode::Direct;
    fd_ = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0 || ::fcntl(fd_, F_SETFL, 0) != 0) Fail();
    return;
  }
  if (!S_ISREG(st.st_mode)) Fail();
  if (IsLink(path) && !ResolveLink(path, target_)) Fail();
  // A read-only target stays untouched, as writing it in place would fail too.
  if (::access(target_.c_str(), W_OK) != 0) Fail();
  targetExists_ = true;
  permissions_ = st.st_mode & 07777;
  owner_ = st.st_uid;
  group_ = st.st_gid;
  OpenTemporary(FolderOf(target_));
}

AtomicFileWriter::~AtomicFileWriter() {
  Discard();
}

void AtomicFileWriter::OpenTemporary(const std::string& folder) {
  temp_ = folder + "/" + std::string(kTempPrefix) + "XXXXXX";
  fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
  if (fd_ >= 0) {
    RegisterPending(temp_);
    return;
  }
  temp_.clear();
  const bool folderRefuses = errno == EACCES || errno == EPERM;
  if (!targetExists_ || !folderRefuses) Fail();
  mode_ = Mode::InPlace;
}

void AtomicFileWriter::Fail() {
  Discard();
  throw FileCreateError("Cannot create file " + requested_);
}

void AtomicFileWriter::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (temp_.empty()) return;
  ::unlink(temp_.c_str());
  ForgetPending(temp_);
  temp_.clear();
}

void AtomicFileWriter::Write(std::string_view chunk) {
  if (mode_ == Mode::InPlace) {
    pending_.append(chunk);
  } else if (fd_ < 0 || !WriteAll(fd_, chunk)) {
    Fail();
  }
}

void AtomicFileWriter::Commit() {
  if (mode_ == Mode::InPlace) {
    CommitInPlace();
  } else if (mode_ == Mode::Replace) {
    CommitReplace();
  } else {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail();
  }
  if (gStaleCleanup && mode_ != Mode::Direct) RemoveStaleTemporaryFiles(FolderOf(target_));
}

void AtomicFileWriter::CommitReplace() {
  if (fd_ < 0) Fail();
  if (targetExists_ && ::fchown(fd_, owner_, group_) != 0) {
    // Not allowed to give the file its owner back: keep at least the group where that is allowed.
    static_cast<void>(::fchown(fd_, static_cast<uid_t>(-1), group_));
  }
  // After the owner: changing it clears the set-user and set-group bits.
  const mode_t mode = targetExists_ ? permissions_ : NewFileMode();
  const bool written = ::fchmod(fd_, mode) == 0 && ::fsync(fd_) == 0;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 || !written || ::rename(temp_.c_str(), target_.c_str()) != 0) Fail();
  ForgetPending(temp_);
  temp_.clear();
}

// Last resort for a folder that takes no temporary file (a read-only folder holding a file the user
// may write): failing would leave the user no way to save at all. The contents are complete in
// memory and their space is reserved before the first byte of the old file changes, so only a
// failing disk can leave it half-written.
void AtomicFileWriter::CommitInPlace() {
  fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd_ < 0) Fail();
  const auto size = static_cast<off_t>(pending_.size());
  if (size > 0 && ::posix_fallocate(fd_, 0, size) != 0) Fail();
  if (!WriteAll(fd_, pending_) || ::ftruncate(fd_, size) != 0 || ::fsync(fd_) != 0) Fail();
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail();
  pending_.clear();
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFileWriter writer(path);
  writer.Write(bytes);
  writer.Commit();
}

void RemovePendingTemporaryFile() {
  if (gHasPendingTemp) ::unlink(gPendingTemp);
}

void EnableStaleTemporaryFileCleanup() {
  gStaleCleanup = true;
}

void RemoveStaleTemporaryFiles(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTempName(entry->d_name)) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || now - st.st_mtime < kStaleAge) continue;
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}
