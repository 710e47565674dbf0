#include "cli/Cli.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "cli/BatchLines.h"
#include "platform/AtomicFile.h"

#include "platform/CodePage.h"
#include "platform/Conversions.h"
#include "platform/RegionalSettings.h"

namespace qelcli {
namespace {

bool Contains(std::initializer_list<std::string_view> names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

char SingleCharacter(const std::string& option, const std::string& value) {
  if (value.size() != 1) throw UsageError(option + " takes exactly one character");
  return value[0];
}

int32_t PrecisionValue(const std::string& value) {
  try {
    return StrToInt(value);
  } catch (const ConvertError&) {
    throw UsageError("--precision takes an integer, not '" + value + "'");
  }
}

// Applies an engine option; false when the name is no engine option.
bool TakeEngineOption(EngineOptions& engine, const std::string& name, const std::string& value) {
  if (name == "--separator") {
    engine.Separator = SingleCharacter(name, value);
  } else if (name == "--overwrite-separator") {
    engine.OverwriteSeparator = value;
  } else if (name == "--precision") {
    engine.Precision = PrecisionValue(value);
  } else if (name == "--x" || name == "--a" || name == "--b" || name == "--c" || name == "--d") {
    std::string* const variables[] = {&engine.X, &engine.A, &engine.B, &engine.C, &engine.D};
    *variables[std::string_view("xabcd").find(name[2])] = value;
  } else {
    return false;
  }
  return true;
}

bool IsEngineValueOption(std::string_view name) {
  return Contains(
      {"--separator", "--overwrite-separator", "--precision", "--x", "--a", "--b", "--c", "--d"},
      name);
}

// False with errno set when not every byte could be written.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool IsControl(unsigned char byte) {
  if (byte == '\n' || byte == '\t') return false;
  return byte < 0x20 || byte == 0x7F || (byte >= 0x80 && CodePointOfWindows1252(byte) < 0xA0);
}

std::size_t gPrintedMessages = 0;

void RemoveTemporaryFileAndDie(int signal) {
  RemovePendingTemporaryFile();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& args,
                         std::initializer_list<std::string_view> valueOptions,
                         std::initializer_list<std::string_view> flagOptions) {
  Arguments parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || !arg.starts_with("--")) {
      parsed.Positional.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--no-convert-all") {
      parsed.Engine.ConvertAll = false;
    } else if (Contains(flagOptions, arg)) {
      parsed.Flags.insert(arg);
    } else if (IsEngineValueOption(arg) || Contains(valueOptions, arg)) {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      const std::string& value = args[++i];
      if (!TakeEngineOption(parsed.Engine, arg, value)) parsed.Values[arg] = value;
    } else {
      throw UsageError("unknown option " + arg);
    }
  }
  return parsed;
}

TQelParser MakeEngine(const EngineOptions& options) {
  if (options.Separator) SetRegionalDecimalSeparator(*options.Separator);
  TQelParser engine;
  engine.SetOverwriteDecimalSymbol(options.OverwriteSeparator);
  engine.SetConvertAllColonsAndDots(options.ConvertAll);
  engine.SetPrecision(options.Precision);
  engine.SetX(options.X);
  engine.SetA(options.A);
  engine.SetB(options.B);
  engine.SetC(options.C);
  engine.SetD(options.D);
  return engine;
}

void PrintMessage(std::string_view singleByteText) {
  ++gPrintedMessages;
  const bool terminal = ::isatty(STDERR_FILENO) != 0;
  const std::string text = terminal ? TerminalSafe(singleByteText) : std::string(singleByteText);
  // Nothing sensible is left to do when standard error itself fails.
  static_cast<void>(WriteAll(STDERR_FILENO, Utf8FromWindows1252(text) + "\n"));
}

std::size_t PrintedMessages() {
  return gPrintedMessages;
}

int WrittenStatus(std::size_t messagesAtStart) {
  return gPrintedMessages > messagesAtStart ? kExitWithMessages : kExitOk;
}

std::string TerminalSafe(std::string_view singleByteText) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(singleByteText.size());
  for (const char c : singleByteText) {
    const auto byte = static_cast<unsigned char>(c);
    if (!IsControl(byte)) {
      out += c;
      continue;
    }
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
  }
  return out;
}

void WriteOutput(std::string_view bytes) {
  if (!WriteAll(STDOUT_FILENO, bytes)) {
    throw OutputError(std::string("qelcli: cannot write to standard output: ") +
                      std::strerror(errno));
  }
}

void ForEachInputLine(std::size_t maxLength,
                      const std::function<void(std::string_view line, bool tooLong)>& sink) {
  BatchLines lines(maxLength, sink);
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    lines.Feed(std::string_view(buffer, static_cast<size_t>(n)));
  }
  lines.Finish();
}

void InstallSignalHandlers() {
  std::signal(SIGXFSZ, SIG_IGN);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, RemoveTemporaryFileAndDie);
}

}  // namespace qelcli
