#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/ProjectInput.h"
#include "cli/RenderSwitches.h"
#include "graph/Bitmap.h"
#include "graph/BmpWriter.h"
#include "graph/GraphRenderer.h"
#include "graph/JpegWriter.h"
#include "graph/PictureFormat.h"
#include "graph/PngWriter.h"
#include "graph/VectorWriter.h"
#include "platform/AtomicFile.h"
#include "platform/Conversions.h"

namespace qelcli {
namespace {

using ImageFormat = PictureFormat;

struct FormatName {
  const char* Name;
  ImageFormat Format;
};

constexpr FormatName kFormats[] = {{"bmp", ImageFormat::Bmp},
                                   {"jpeg", ImageFormat::Jpeg},
                                   {"png", ImageFormat::Png},
                                   {"svg", ImageFormat::Svg},
                                   {"pdf", ImageFormat::Pdf}};

constexpr int kDefaultQuality = 60;

ImageFormat FormatOf(const Arguments& parsed, const std::string& output) {
  const auto option = parsed.Values.find("--format");
  if (option != parsed.Values.end()) {
    for (const FormatName& f : kFormats) {
      if (option->second == f.Name) return f.Format;
    }
    throw UsageError("--format takes bmp, jpeg, png, svg or pdf, not '" + option->second + "'");
  }
  if (const std::optional<ImageFormat> named = PictureFormatOfName(output)) return *named;
  throw UsageError("cannot tell the format of '" + output + "': use --format bmp|jpeg|png|svg|pdf");
}

int QualityOf(const Arguments& parsed, ImageFormat format) {
  const auto option = parsed.Values.find("--quality");
  if (option == parsed.Values.end()) return kDefaultQuality;
  if (format != ImageFormat::Jpeg) throw UsageError("--quality applies to JPEG pictures only");
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
template <typename Picture>
Picture Render(const ProjectDocument& project, TQelParser& engine) {
  Picture picture(StrToInt(project.Settings.OutputWidth), StrToInt(project.Settings.OutputHeight));
  const bool cancelled = false;
  GraphRenderer(project, engine, picture, cancelled, {},
                [](const std::string& message) { PrintMessage(message); });
  return picture;
}

void Write(const ProjectDocument& project, TQelParser& engine, ImageFormat format,
           const std::string& output, int quality) {
  if (format == ImageFormat::Svg || format == ImageFormat::Pdf) {
    const auto picture = Render<VectorPicture>(project, engine);
    format == ImageFormat::Svg ? WriteSvgFile(output, picture) : WritePdfFile(output, picture);
    return;
  }
  const auto bitmap = Render<Bitmap>(project, engine);
  if (format == ImageFormat::Bmp) {
    WriteBmpFile(output, bitmap);
  } else if (format == ImageFormat::Png) {
    WritePngFile(output, bitmap);
  } else {
    WriteJpegFile(output, bitmap, quality);
  }
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
  const Arguments parsed =
      ParseArguments(args, {"--format", "--quality"},
                     {"--axis-numbers", "--no-axis-numbers", "--legend", "--no-legend", "--smooth",
                      "--no-smooth", "--exact-curves", "--no-exact-curves"});
  const std::size_t messagesAtStart = PrintedMessages();
  CheckPositional(parsed);
  const std::string& output = parsed.Positional[1];
  const ImageFormat format = FormatOf(parsed, output);
  const int quality = QualityOf(parsed, format);
  const RenderSwitches switches(parsed.Flags);
  TQelParser engine = MakeEngine(parsed.Engine);
  std::optional<ProjectDocument> project = ReadCheckedProject(parsed.Positional[0]);
  if (!project) return kExitFailure;
  switches.ApplyTo(project->Settings);
  try {
    Write(*project, engine, format, output, quality);
  } catch (const std::runtime_error& e) {
    PrintMessage(e.what());
    return kExitFailure;
  }
  return WrittenStatus(messagesAtStart);
}

}  // namespace qelcli
