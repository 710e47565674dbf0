#pragma once

#include <optional>
#include <string>

// What keeps the instance lock and its hand-over socket out of other users' reach: a folder that
// only this user may enter, and a check of who is at the other end of a local socket.

// True when path itself (not a link) is a folder owned by this user that no one else may enter.
bool IsPrivateFolder(const std::string& path);

// Where the lock and socket live. The runtime folder (its real path, so every start spells it the
// same) when it is private, or the user's own and then closed to others; otherwise "qelgraphics"
// in the cache folder, made private for this user. Only folders whose socket path fits a socket
// address; nothing when none is safe. Shared folders such as /tmp are never used.
struct RuntimeEnvironment {
  const char* RuntimeDir = nullptr;  // XDG_RUNTIME_DIR
  const char* CacheHome = nullptr;   // XDG_CACHE_HOME
  const char* Home = nullptr;        // HOME
};
RuntimeEnvironment ProcessEnvironment();
std::optional<std::string> PrivateRuntimeFolder(const RuntimeEnvironment& environment,
                                                std::size_t longestName);

// True when the process at the other end of the connected local socket runs as this user.
bool PeerIsThisUser(int socket);
