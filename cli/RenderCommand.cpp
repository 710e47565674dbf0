#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/ProjectInput.h"
#include "graph/BmpWriter.h"
#include "graph/GraphRenderer.h"
#include "graph/JpegWriter.h"
#include "platform/AtomicFile.h"
#include "platform/Conversions.h"

namespace qelcli {
namespace {

enum class ImageFormat { Bmp, Jpeg };

constexpr int kDefaultQuality = 60;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

ImageFormat FormatOf(const Arguments& parsed, const std::string& output) {
  const auto option = parsed.Values.find("--format");
  if (option != parsed.Values.end()) {
    if (option->second == "bmp") return ImageFormat::Bmp;
    if (option->second == "jpeg") return ImageFormat::Jpeg;
    throw UsageError("--format takes bmp or jpeg, not '" + option->second + "'");
  }
  const std::string name = Lower(output);
  if (EndsWith(name, ".bmp")) return ImageFormat::Bmp;
  if (EndsWith(name, ".jpg") || EndsWith(name, ".jpeg")) return ImageFormat::Jpeg;
  throw UsageError("cannot tell the format of '" + output + "': use --format bmp|jpeg");
}

int QualityOf(const Arguments& parsed) {
  const auto option = parsed.Values.find("--quality");
  if (option == parsed.Values.end()) return kDefaultQuality;
  try {
    const int32_t quality = StrToInt(option->second);
    if (quality >= 2 && quality <= 100) return quality;
  } catch (const ConvertError&) {
  }
  throw UsageError("--quality takes an integer from 2 to 100, not '" + option->second + "'");
}

void CheckPositional(const Arguments& parsed) {
  if (parsed.Positional.empty()) throw UsageError("missing PROJECT");
  if (parsed.Positional.size() < 2) throw UsageError("missing OUTPUT");
  if (parsed.Positional.size() > 2) {
    throw UsageError("unexpected argument '" + parsed.Positional[2] + "'");
  }
}

// The picture has the project's full output size; the check has made sure both are integers.
Bitmap Render(const ProjectDocument& project, TQelParser& engine) {
  Bitmap bitmap(StrToInt(project.Settings.OutputWidth), StrToInt(project.Settings.OutputHeight));
  const bool cancelled = false;
  GraphRenderer(project, engine, bitmap, cancelled, {},
                [](const std::string& message) { PrintMessage(message); });
  return bitmap;
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, {"--format", "--quality"}, {});
  const std::size_t messagesAtStart = PrintedMessages();
  CheckPositional(parsed);
  const std::string& output = parsed.Positional[1];
  const ImageFormat format = FormatOf(parsed, output);
  const int quality = QualityOf(parsed);
  TQelParser engine = MakeEngine(parsed.Engine);
  const std::optional<ProjectDocument> project = ReadCheckedProject(parsed.Positional[0]);
  if (!project) return kExitFailure;
  try {
    const Bitmap bitmap = Render(*project, engine);
    if (format == ImageFormat::Bmp) {
      WriteBmpFile(output, bitmap);
    } else {
      WriteJpegFile(output, bitmap, quality);
    }
  } catch (const std::runtime_error& e) {
    PrintMessage(e.what());
    return kExitFailure;
  }
  return WrittenStatus(messagesAtStart);
}

}  // namespace qelcli
