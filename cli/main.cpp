#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Cli.h"

namespace {

constexpr std::string_view kUsage =
    "usage: qelcli tree [engine options] (EXPRESSION | --stdin)\n"
    "       qelcli eval [engine options] [--exact] (EXPRESSION | --stdin)\n"
    "       qelcli table [engine options] PROJECT [--function N] [--decimals D] "
    "[--layout tab|block] [--output FILE]\n"
    "       qelcli render [engine options] PROJECT OUTPUT [--format bmp|jpeg] [--quality Q]\n"
    "       qelcli --help\n"
    "engine options:\n"
    "  --separator C            regional decimal separator (default: from LC_ALL, LC_NUMERIC, "
    "LANG)\n"
    "  --overwrite-separator C  the engine's own decimal separator (default: none)\n"
    "  --no-convert-all         accept only the separator in use, not both '.' and ','\n"
    "  --precision N            digits after the separator in results (default: 8)\n"
    "  --x T, --a T, --b T, --c T, --d T\n"
    "                           texts of the variables x, a, b, c, d (default: empty)";

struct Subcommand {
  std::string_view Name;
  int (*Run)(const std::vector<std::string>& args);
};

// Adding a subcommand is one line here and its usage line above.
constexpr Subcommand kSubcommands[] = {
    {"tree", qelcli::RunTree},
    {"eval", qelcli::RunEval},
    {"table", qelcli::RunTable},
    {"render", qelcli::RunRender},
};

int UsageFailure(const std::string& message) {
  qelcli::PrintMessage("qelcli: " + message);
  qelcli::PrintMessage(kUsage);
  return qelcli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return UsageFailure("missing subcommand");
  const std::string_view name = argv[1];
  if (name == "--help") {
    qelcli::WriteOutput(std::string(kUsage) + "\n");
    return qelcli::kExitOk;
  }
  const std::vector<std::string> args(argv + 2, argv + argc);
  for (const Subcommand& subcommand : kSubcommands) {
    if (subcommand.Name != name) continue;
    try {
      return subcommand.Run(args);
    } catch (const qelcli::UsageError& e) {
      return UsageFailure(e.what());
    } catch (const std::exception& e) {
      // Whatever a subcommand did not handle still ends as a message and a failure status.
      qelcli::PrintMessage(e.what());
      return qelcli::kExitFailure;
    }
  }
  return UsageFailure("unknown subcommand '" + std::string(name) + "'");
}
