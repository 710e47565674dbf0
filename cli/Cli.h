#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/QelParser.h"

// Shared pieces of the qelcli subcommands: argument parsing, the configured engine, message output
// and exit statuses.
namespace qelcli {

enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitEvaluationError = 2, kExitUsage = 64 };

// A wrong command line; main prints "qelcli: " + message and the usage, and exits with kExitUsage.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct EngineOptions {
  std::optional<char> Separator;
  std::string OverwriteSeparator;
  bool ConvertAll = true;
  int32_t Precision = 8;
  std::string X, A, B, C, D;
};

struct Arguments {
  EngineOptions Engine;
  std::map<std::string, std::string, std::less<>> Values;  // the subcommand's options with a value
  std::set<std::string, std::less<>> Flags;                // the subcommand's options without one
  std::vector<std::string> Positional;
};

// Splits a subcommand's arguments (without the subcommand's name). Every argument that begins with
// "--" is an option (a later repetition wins); "--" alone ends the options. Throws UsageError for
// an unknown option, a missing value or an engine option value out of range.
Arguments ParseArguments(const std::vector<std::string>& args,
                         std::initializer_list<std::string_view> valueOptions,
                         std::initializer_list<std::string_view> flagOptions);

// Sets the regional separator when the options name one and returns an engine configured as the
// application's, with the options applied.
TQelParser MakeEngine(const EngineOptions& options);

// A message on standard error: converted to UTF-8, followed by one line feed.
void PrintMessage(std::string_view singleByteText);

// Bytes on standard output, unconverted.
void WriteOutput(std::string_view bytes);

// Standard input read whole and split at line feeds; a last line without one still counts.
std::vector<std::string> ReadInputLines();

int RunTree(const std::vector<std::string>& args);
int RunEval(const std::vector<std::string>& args);
int RunTable(const std::vector<std::string>& args);   // cli/TableCommand.cpp
int RunRender(const std::vector<std::string>& args);  // cli/RenderCommand.cpp

}  // namespace qelcli
