#include "platform/PrivateAccess.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace {

bool Set(const char* value) {
  return value && value[0] == '/';
}

std::string RealPath(const char* path) {
  char real[PATH_MAX];
  return ::realpath(path, real) ? std::string(real) : std::string();
}

// The folder holding path may not let others swap path for a folder of theirs.
bool IsSafeParent(const std::string& path) {
  const std::string parent = path.substr(0, std::max<std::size_t>(path.find_last_of('/'), 1));
  struct stat status {};
  if (::lstat(parent.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return false;
  const bool ours = status.st_uid == ::geteuid() || status.st_uid == 0;
  return ours && ((status.st_mode & (S_IWGRP | S_IWOTH)) == 0 || (status.st_mode & S_ISVTX) != 0);
}

// A folder of the user's own that others may enter is closed to them, as the desktop's own
// libraries do with the runtime folder; a link or another user's folder is left as it is.
void CloseOwnFolder(const std::string& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
      status.st_uid == ::geteuid() && (status.st_mode & (S_IRWXG | S_IRWXO)) != 0)
    ::chmod(path.c_str(), 0700);
}

std::string CacheFolder(const RuntimeEnvironment& environment) {
  if (Set(environment.CacheHome)) return environment.CacheHome;
  if (Set(environment.Home)) return std::string(environment.Home) + "/.cache";
  return {};
}

// The cache folder's own subfolder, made if missing; empty when it is not the user's alone.
std::string OwnCacheFolder(const RuntimeEnvironment& environment) {
  const std::string cache = CacheFolder(environment);
  if (cache.empty()) return {};
  ::mkdir(cache.c_str(), 0700);
  const std::string folder = RealPath(cache.c_str());
  if (folder.empty()) return {};
  const std::string own = folder + "/qelgraphics";
  ::mkdir(own.c_str(), 0700);
  CloseOwnFolder(own);
  return own;
}

}  // namespace

bool IsPrivateFolder(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
         status.st_uid == ::geteuid() && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

RuntimeEnvironment ProcessEnvironment() {
  return {std::getenv("XDG_RUNTIME_DIR"), std::getenv("XDG_CACHE_HOME"), std::getenv("HOME")};
}

std::optional<std::string> PrivateRuntimeFolder(const RuntimeEnvironment& environment,
                                                std::size_t longestName) {
  const std::size_t room = sizeof(sockaddr_un::sun_path) - 1;
  const auto usable = [&](const std::string& folder) {
    return !folder.empty() && folder.size() + 1 + longestName <= room && IsPrivateFolder(folder) &&
           IsSafeParent(folder);
  };
  if (Set(environment.RuntimeDir)) {
    const std::string runtime = RealPath(environment.RuntimeDir);
    CloseOwnFolder(runtime);
    if (usable(runtime)) return runtime;
  }
  const std::string own = OwnCacheFolder(environment);
  if (usable(own)) return own;
  return std::nullopt;
}

bool PeerIsThisUser(int socket) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer &&
         peer.uid == ::geteuid();
}
