#include "cli/RenderSwitches.h"

#include "cli/Cli.h"

namespace qelcli {
namespace {

struct Switch {
  const char* Name;
  bool ProjectSettings::*Setting;
};

constexpr Switch kSwitches[] = {{"axis-numbers", &ProjectSettings::AxisNumbers},
                                {"legend", &ProjectSettings::Legend},
                                {"smooth", &ProjectSettings::SmoothCurves},
                                {"exact-curves", &ProjectSettings::ExactCurves}};

}  // namespace

RenderSwitches::RenderSwitches(const std::set<std::string, std::less<>>& flags) {
  for (const Switch& s : kSwitches) {
    const std::string on = std::string("--") + s.Name;
    const std::string off = std::string("--no-") + s.Name;
    const bool switchOn = flags.contains(on);
    if (switchOn && flags.contains(off))
      throw UsageError(on + " and " + off + " exclude each other");
    if (switchOn || flags.contains(off)) switched_.emplace_back(s.Setting, switchOn);
  }
}

void RenderSwitches::ApplyTo(ProjectSettings& settings) const {
  for (const auto& [setting, on] : switched_) settings.*setting = on;
}

}  // namespace qelcli
