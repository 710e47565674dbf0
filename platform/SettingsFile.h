#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The user's settings file is read only where reading cannot hang or flood the start: a regular
// file (or none yet) of a sane size. A pipe or a device would keep the reading waiting for ever.
inline constexpr std::size_t kMaxSettingsFileBytes = 1 << 20;
bool IsSafeSettingsFile(const std::string& path);

// The stored paths worth listing, in order: absolute, free of NUL and no longer than a path can
// be; at most limit of them.
std::vector<std::string> UsableRecentPaths(const std::vector<std::string>& stored,
                                           std::size_t limit);
