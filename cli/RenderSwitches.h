#pragma once

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "project/ProjectDocument.h"

namespace qelcli {

// The render command's picture switches as options: "--axis-numbers", "--legend", "--smooth" and
// "--exact-curves" switch a setting on, the same names after "--no-" switch it off, and the
// project's own setting holds where neither is given.
class RenderSwitches {
 public:
  // Throws UsageError when an option and its "--no-" form are both given.
  explicit RenderSwitches(const std::set<std::string, std::less<>>& flags);

  void ApplyTo(ProjectSettings& settings) const;

 private:
  std::vector<std::pair<bool ProjectSettings::*, bool>> switched_;
};

}  // namespace qelcli
