#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Cli.h"
#include "ui/shell/AppInfo.h"

namespace {

constexpr std::string_view kUsage =
    "usage: qelcli tree [engine options] (EXPRESSION | --stdin)\n"
    "       qelcli eval [engine options] [--exact] (EXPRESSION | --stdin)\n"
    "       qelcli table [engine options] PROJECT [--function N] [--decimals D] "
    "[--layout tab|block] [--output FILE]\n"
    "       qelcli render [engine options] PROJECT OUTPUT [--format bmp|jpeg|png|svg|pdf] "
    "[--quality Q]\n"
    "              [--[no-]axis-numbers] [--[no-]legend] [--[no-]smooth] [--[no-]exact-curves]\n"
    "       qelcli analyse [engine options] PROJECT [--function N] [--decimals D] "
    "[--separator .|,]\n"
    "       qelcli --help | --version\n"
    "engine options:\n"
    "  --separator C            regional decimal separator (default: from LC_ALL, LC_NUMERIC, "
    "LANG)\n"
    "  --overwrite-separator C  the engine's own decimal separator (default: none)\n"
    "  --no-convert-all         accept only the separator in use, not both '.' and ','\n"
    "  --precision N            digits after the separator in results (default: 8)\n"
    "  --x T, --a T, --b T, --c T, --d T\n"
    "                           texts of the variables x, a, b, c, d (default: empty)";

// Only --help prints this; a usage error keeps to the usage above so the mistake stays visible.
constexpr std::string_view kHelpDetails =
    "commands:\n"
    "  tree    print the normalised expression, then its tree in prefix form or 'invalid'\n"
    "  eval    evaluate the expression and print the result at the engine's precision;\n"
    "          --exact adds the exact value in hexadecimal floating point\n"
    "  table   write the value table of one function of PROJECT (CR LF line ends)\n"
    "  render  draw PROJECT at its output size and write the picture to OUTPUT\n"
    "  analyse write the zeros, extrema, inflection points, poles, jumps, y-intercepts and\n"
    "          intersections of PROJECT's functions, one point a line:\n"
    "          FUNCTION<tab>KIND<tab>X<tab>Y (Y empty for a pole or a jump)\n"
    "batch mode: with --stdin every line of standard input is one expression, giving one line:\n"
    "  tree    NORMALISED<tab>TREE, or NORMALISED<tab>invalid\n"
    "  eval    ok<tab>RESULT<tab>EXACT, or invalid, or error<tab>MESSAGE\n"
    "  each line is answered as soon as it is read; a line over 10000 bytes is invalid\n"
    "  (tree prints it as <tab>invalid)\n"
    "table options:\n"
    "  --function N             the function's position in the project, from 1 (default: 1)\n"
    "  --decimals D             digits after the separator (default: 2)\n"
    "  --layout tab|block       x and f(x) per line, or all x then all f(x) (default: tab)\n"
    "  --output FILE            write the table to FILE (default: standard output)\n"
    "analyse options:\n"
    "  --function N             only the function at position N, from 1, without\n"
    "                           intersections (default: every function and every pair)\n"
    "  --decimals D             digits after the separator, 0 to 18 (default: 8)\n"
    "  --separator . or ,       the decimal separator of the numbers\n"
    "render options:\n"
    "  --format FORMAT          picture format: bmp, jpeg, png (lossless), svg or pdf (vector)\n"
    "                           (default: from the OUTPUT extension, .bmp, .jpg, .jpeg, .png,\n"
    "                           .svg or .pdf in any case)\n"
    "  --quality Q              JPEG quality from 2 to 100 (default: 60); JPEG only\n"
    "  --axis-numbers, --legend, --smooth, --exact-curves\n"
    "                           numbers on the axes, a legend of the functions, smooth curves,\n"
    "                           exact curves at any zoom; --no-... leaves one out (default: as\n"
    "                           the project is set in its editor's \"Darstellung\")\n"
    "An argument -- alone ends the options; every later argument is taken as it stands.\n"
    "exit status:\n"
    "  0   success; also for --stdin batches, whose lines carry each outcome\n"
    "  1   nothing written: invalid expression, unreadable or failing project, a file or\n"
    "      standard output that cannot be written\n"
    "  2   eval met an evaluation error\n"
    "  3   table, render or analyse wrote its output, but printed messages on the way\n"
    "  64  wrong command line (the usage goes to standard error)";

struct Subcommand {
  std::string_view Name;
  int (*Run)(const std::vector<std::string>& args);
};

// Adding a subcommand is one line here and its usage line above.
constexpr Subcommand kSubcommands[] = {
    {"tree", qelcli::RunTree},     {"eval", qelcli::RunEval},       {"table", qelcli::RunTable},
    {"render", qelcli::RunRender}, {"analyse", qelcli::RunAnalyse},
};

int UsageFailure(const std::string& message) {
  qelcli::PrintMessage("qelcli: " + message);
  qelcli::PrintMessage(kUsage);
  return qelcli::kExitUsage;
}

int Run(int argc, char** argv) {
  if (argc < 2) return UsageFailure("missing subcommand");
  const std::string_view name = argv[1];
  if (name == "--help") {
    qelcli::WriteOutput(std::string(kUsage) + "\n" + std::string(kHelpDetails) + "\n");
    return qelcli::kExitOk;
  }
  if (name == "--version") {
    qelcli::WriteOutput(std::string("qelcli (") + kFrameCaption + ")\n");
    return qelcli::kExitOk;
  }
  const std::vector<std::string> args(argv + 2, argv + argc);
  for (const Subcommand& subcommand : kSubcommands) {
    if (subcommand.Name == name) return subcommand.Run(args);
  }
  return UsageFailure("unknown subcommand '" + std::string(name) + "'");
}

}  // namespace

int main(int argc, char** argv) {
  qelcli::InstallSignalHandlers();
  try {
    return Run(argc, argv);
  } catch (const qelcli::UsageError& e) {
    return UsageFailure(e.what());
  } catch (const std::exception& e) {
    // Whatever a subcommand did not handle still ends as a message and a failure status.
    qelcli::PrintMessage(e.what());
    return qelcli::kExitFailure;
  }
}
