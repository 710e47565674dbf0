#include <string>
#include <vector>

#include "analysis/CurveAnalysis.h"
#include "analysis/PointTable.h"
#include "cli/Cli.h"
#include "cli/ProjectInput.h"
#include "platform/Conversions.h"

namespace qelcli {
namespace {

constexpr int32_t kMaxDecimals = 18;

// The decimal separator of the output is the regional one, which only "." and "," may be here.
void CheckSeparator(const EngineOptions& engine) {
  if (engine.Separator && *engine.Separator != '.' && *engine.Separator != ',') {
    throw UsageError("--separator takes . or , for analyse");
  }
}

// The function's position from 1, or nothing for all of them.
std::optional<size_t> FunctionOption(const Arguments& parsed) {
  if (!parsed.Values.contains("--function")) return std::nullopt;
  const std::string number = ValueOr(parsed, "--function", "");
  try {
    const int32_t n = StrToInt(number);
    if (n >= 1) return static_cast<size_t>(n);
  } catch (const ConvertError&) {
  }
  throw UsageError("--function takes a positive integer, not '" + number + "'");
}

std::optional<int32_t> DecimalsOption(const Arguments& parsed) {
  const std::string text = ValueOr(parsed, "--decimals", "8");
  try {
    const int32_t decimals = StrToInt(text);
    if (decimals >= 0 && decimals <= kMaxDecimals) return decimals;
  } catch (const ConvertError&) {
  }
  PrintMessage("qelcli: --decimals takes 0 to 18, not '" + text + "'");
  return std::nullopt;
}

}  // namespace

int RunAnalyse(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, {"--function", "--decimals"}, {});
  CheckSeparator(parsed.Engine);
  const std::size_t messagesAtStart = PrintedMessages();
  const std::string& path = ProjectArgument(parsed);
  const std::optional<size_t> only = FunctionOption(parsed);
  TQelParser engine = MakeEngine(parsed.Engine);
  const std::optional<ProjectDocument> project = ReadCheckedProject(path);
  if (!project) return kExitFailure;
  const std::optional<int32_t> decimals = DecimalsOption(parsed);
  if (!decimals) return kExitFailure;
  if (only && *only > project->Functions.size()) {
    PrintMessage("qelcli: the project has no function " + std::to_string(*only));
    return kExitFailure;
  }
  const ProjectPoints points = AnalyseProject(*project, engine, only, {});
  for (const std::string& message : points.Messages) PrintMessage(message);
  for (const PointList& list : points.Lists) {
    if (list.More > 0) PrintMessage(MorePointsMessage(list));
  }
  engine.SetPrecision(*decimals);
  WriteOutput(PointTableText(PointRows(points.Lists, engine), "\n"));
  return WrittenStatus(messagesAtStart);
}

}  // namespace qelcli
