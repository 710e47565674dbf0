#include "cli/Cli.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

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

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
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
  WriteAll(STDERR_FILENO, Utf8FromWindows1252(singleByteText) + "\n");
}

void WriteOutput(std::string_view bytes) {
  WriteAll(STDOUT_FILENO, bytes);
}

std::vector<std::string> ReadInputLines() {
  std::string input;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    input.append(buffer, static_cast<size_t>(n));
  }
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < input.size()) {
    const size_t end = std::min(input.find('\n', start), input.size());
    lines.push_back(input.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace qelcli
