#pragma once

#include <optional>
#include <string>

#include "cli/Cli.h"
#include "project/ProjectDocument.h"

namespace qelcli {

// PROJECT as every subcommand reads it, checked as before a graph or a table, against the headless
// size limit instead of a screen. Messages go to standard error. A count line that is not an
// integer is reported and the project goes on with the settings read so far and no functions. Empty
// when the command must stop with kExitFailure: the file cannot be opened or the check fails. Set
// the regional separator (MakeEngine) first: the check converts with it.
std::optional<ProjectDocument> ReadCheckedProject(const std::string& path);

// The one positional argument PROJECT; throws UsageError when it is missing or followed by more.
const std::string& ProjectArgument(const Arguments& parsed);

// The value of a subcommand's option, or the fallback when it was not given.
std::string ValueOr(const Arguments& parsed, std::string_view name, std::string fallback);

}  // namespace qelcli
