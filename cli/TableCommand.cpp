#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/ProjectInput.h"
#include "platform/AtomicFile.h"
#include "platform/Conversions.h"
#include "valuetable/ValueTable.h"

namespace qelcli {
namespace {

ValueTableLayout LayoutOption(const Arguments& parsed) {
  const std::string layout = ValueOr(parsed, "--layout", "tab");
  if (layout == "tab") return ValueTableLayout::Tab;
  if (layout == "block") return ValueTableLayout::Block;
  throw UsageError("--layout takes tab or block, not '" + layout + "'");
}

int32_t FunctionOption(const Arguments& parsed) {
  const std::string number = ValueOr(parsed, "--function", "1");
  try {
    return StrToInt(number);
  } catch (const ConvertError&) {
    throw UsageError("--function takes an integer, not '" + number + "'");
  }
}

// The table's text goes to FILE atomically, or to standard output.
int WriteTable(const Arguments& parsed, const ValueTable& rows, ValueTableLayout layout,
               std::size_t messagesAtStart) {
  const auto output = parsed.Values.find("--output");
  if (output == parsed.Values.end()) {
    WriteOutput(ValueTableExportText(rows, layout));
    return WrittenStatus(messagesAtStart);
  }
  try {
    WriteValueTableExport(output->second, rows, layout);
  } catch (const FileCreateError& e) {
    PrintMessage(e.what());
    return kExitFailure;
  }
  return WrittenStatus(messagesAtStart);
}

}  // namespace

int RunTable(const std::vector<std::string>& args) {
  const Arguments parsed =
      ParseArguments(args, {"--function", "--decimals", "--layout", "--output"}, {});
  const std::size_t messagesAtStart = PrintedMessages();
  const std::string& path = ProjectArgument(parsed);
  const ValueTableLayout layout = LayoutOption(parsed);
  const int32_t number = FunctionOption(parsed);
  TQelParser engine = MakeEngine(parsed.Engine);
  const std::optional<ProjectDocument> project = ReadCheckedProject(path);
  if (!project) return kExitFailure;

  // The decimals are used as typed, unclamped, as the dialog's OK uses them.
  int32_t decimals = 0;
  try {
    decimals = StrToInt(ValueOr(parsed, "--decimals", "2"));
  } catch (const ConvertError& e) {
    PrintMessage(e.what());
    return kExitFailure;
  }
  if (number < 1 || static_cast<size_t>(number) > project->Functions.size()) {
    PrintMessage("qelcli: the project has no function " + std::to_string(number));
    return kExitFailure;
  }
  const FunctionEntry& entry = project->Functions[static_cast<size_t>(number) - 1];
  engine.SetPrecision(decimals);
  const ValueTableInput input{project->Settings.XFrom, project->Settings.XTo, entry.StepWidth,
                              entry.Expression};
  const ValueTableResult result = BuildValueTableRows(engine, input, {});
  if (!result.Message.empty()) PrintMessage(result.Message);
  return WriteTable(parsed, result.Rows, layout, messagesAtStart);
}

}  // namespace qelcli
