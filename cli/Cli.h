#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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

// kExitWithMessages: the output was written, but messages were printed on the way (as the windows
// would have shown them).
enum ExitStatus : int {
  kExitOk = 0,
  kExitFailure = 1,
  kExitEvaluationError = 2,
  kExitWithMessages = 3,
  kExitUsage = 64
};

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

// A message on standard error: converted to UTF-8, followed by one line feed. On a terminal,
// control characters other than line feed and tab are shown escaped (TerminalSafe).
void PrintMessage(std::string_view singleByteText);

// How many messages PrintMessage has printed so far.
std::size_t PrintedMessages();

// The status of a command that has written its output: kExitWithMessages when messages were printed
// since the command started (PrintedMessages then).
int WrittenStatus(std::size_t messagesAtStart);

// The single-byte text with every control character except line feed and tab as "\xHH", so that
// text from files and arguments cannot steer the terminal.
std::string TerminalSafe(std::string_view singleByteText);

// Standard output failed; the message is "qelcli: cannot write to standard output: <reason>".
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Bytes on standard output, unconverted; throws OutputError when they cannot all be written.
void WriteOutput(std::string_view bytes);

// Hands each line of standard input to `sink` as soon as it has arrived (see BatchLines); lines
// longer than maxLength arrive empty with tooLong set.
void ForEachInputLine(std::size_t maxLength,
                      const std::function<void(std::string_view line, bool tooLong)>& sink);

// Signals that end qelcli remove the temporary file of a save in progress first; a file-size limit
// makes the write fail instead of ending the program.
void InstallSignalHandlers();

int RunTree(const std::vector<std::string>& args);
int RunEval(const std::vector<std::string>& args);
int RunTable(const std::vector<std::string>& args);    // cli/TableCommand.cpp
int RunRender(const std::vector<std::string>& args);   // cli/RenderCommand.cpp
int RunAnalyse(const std::vector<std::string>& args);  // cli/AnalyseCommand.cpp

}  // namespace qelcli
