#include "cli/ProjectInput.h"

#include "cli/Cli.h"
#include "platform/Conversions.h"
#include "project/CheckSettings.h"
#include "project/ProjectFile.h"

namespace qelcli {

std::optional<ProjectDocument> ReadCheckedProject(const std::string& path) {
  ProjectDocument document;
  document.Caption = path;
  try {
    ReadProjectFile(path, document);
  } catch (const FileOpenError& e) {
    PrintMessage(e.what());
    return std::nullopt;
  } catch (const ConvertError& e) {
    PrintMessage(e.what());
  }
  const SettingsVerdict verdict =
      CheckSettings(document.Settings, HeadlessScreenLimit, HeadlessScreenLimit);
  if (!verdict.Passed()) {
    PrintMessage(verdict.Message);
    return std::nullopt;
  }
  return document;
}

const std::string& ProjectArgument(const Arguments& parsed) {
  if (parsed.Positional.empty()) throw UsageError("missing PROJECT");
  if (parsed.Positional.size() > 1) {
    throw UsageError("unexpected argument '" + parsed.Positional[1] + "'");
  }
  return parsed.Positional[0];
}

std::string ValueOr(const Arguments& parsed, std::string_view name, std::string fallback) {
  const auto found = parsed.Values.find(name);
  return found == parsed.Values.end() ? fallback : found->second;
}

}  // namespace qelcli
