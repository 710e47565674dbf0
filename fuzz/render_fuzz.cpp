// A small project built from the input, drawn by the project renderer or the stand-alone component
// onto a bitmap of up to 64 x 64 pixels, then encoded. Ranges and sizes are whatever the input
// says; a budget of check points cancels drawings that would sample too long.
#include <stdexcept>

#include "components/QelGraphics.h"
#include "fuzz/FuzzInput.h"
#include "graph/BmpWriter.h"
#include "graph/GraphRenderer.h"
#include "graph/JpegWriter.h"
#include "platform/Conversions.h"
#include "platform/RegionalSettings.h"
#include "project/CheckSettings.h"

namespace {

constexpr int kMaxFunctions = 4;
constexpr long kCheckpointBudget = 20000;

enum Option : uint8_t {
  kComponent = 1,
  kAxes = 2,
  kGrid = 4,
  kPointwise = 8,
  kDeviation = 16,
  kComma = 32,
  kChecked = 64,
  kJpeg = 128,
};

struct Case {
  uint8_t Options = 0;
  int32_t BitmapWidth = 0, BitmapHeight = 0;
  ProjectDocument Project;
};

Case ReadCase(FuzzInput& in) {
  Case c;
  c.Options = in.Byte();
  c.BitmapWidth = in.Byte() % 65;
  c.BitmapHeight = in.Byte() % 65;
  ProjectSettings& s = c.Project.Settings;
  s.BackgroundColor = in.Int32();
  s.AxisColor = in.Int32();
  s.GridColor = in.Int32();
  s.ShowAxes = c.Options & kAxes;
  s.ShowGrid = c.Options & kGrid;
  s.Pointwise = c.Options & kPointwise;
  s.UseDeviation = c.Options & kDeviation;
  for (std::string* text : {&s.XFrom, &s.XTo, &s.YFrom, &s.YTo, &s.OutputWidth, &s.OutputHeight,
                            &s.GridStep, &s.Deviation}) {
    *text = in.Line();
  }
  for (int i = 0; i < kMaxFunctions && !in.Empty(); ++i) {
    FunctionEntry entry;
    entry.Number = std::to_string(i + 1);
    entry.Expression = in.Line();
    entry.StepWidth = in.Line();
    entry.Color = in.Line();
    c.Project.Functions.push_back(entry);
  }
  return c;
}

void Render(const Case& c, Bitmap& bitmap) {
  TQelParser parser(std::make_shared<QelTreeRoot>(), PowerRule::CheckNegativeBase);
  parser.SetConvertAllColonsAndDots(true);
  bool cancelled = false;
  long checkpoints = 0;
  const auto poll = [&] { cancelled = ++checkpoints >= kCheckpointBudget; };
  try {
    GraphRenderer(c.Project, parser, bitmap, cancelled, poll, [](const std::string&) {});
  } catch (const EngineError&) {
  } catch (const ConvertError&) {
  }
}

long double Extended(TQelParser& parser, const std::string& text) {
  try {
    return parser.StrToLongDouble(text);
  } catch (const EngineError&) {
    return 0;
  }
}

int32_t Integer(const std::string& text) {
  try {
    return StrToInt(text);
  } catch (const ConvertError&) {
    return 640;
  }
}

void Draw(const Case& c, Bitmap& bitmap) {
  const ProjectSettings& s = c.Project.Settings;
  TQelGraphics graphics;
  TQelParser reader;
  graphics.SetMinusX(Extended(reader, s.XFrom));
  graphics.SetPlusX(Extended(reader, s.XTo));
  graphics.SetMinusY(Extended(reader, s.YFrom));
  graphics.SetPlusY(Extended(reader, s.YTo));
  graphics.SetGridSpace(Extended(reader, s.GridStep));
  graphics.SetAbstand(Extended(reader, s.Deviation));
  graphics.SetDestWidth(Integer(s.OutputWidth));
  graphics.SetDestHeight(Integer(s.OutputHeight));
  graphics.SetBackground(s.BackgroundColor);
  graphics.SetCrossColor(s.AxisColor);
  graphics.SetGridColor(s.GridColor);
  graphics.SetCross(s.ShowAxes);
  graphics.SetGrid(s.ShowGrid);
  graphics.SetPointsOnly(s.Pointwise);
  std::vector<std::string> expressions, steps, colors;
  for (const FunctionEntry& entry : c.Project.Functions) {
    expressions.push_back(entry.Expression);
    steps.push_back(entry.StepWidth);
    if (!entry.Color.empty()) colors.push_back(entry.Color);
  }
  graphics.SetExpressions(expressions);
  graphics.SetSteps(steps);
  graphics.SetColors(colors);
  long checkpoints = 0;
  graphics.SetPoll([&] {
    if (++checkpoints >= kCheckpointBudget) graphics.Cancel();
  });
  try {
    const int32_t result = graphics.DrawToCanvas(bitmap);
    if (result < -1 || result > static_cast<int32_t>(expressions.size())) {
      FuzzFailure("the component returned an impossible line number");
    }
  } catch (const EngineError&) {
  } catch (const std::out_of_range&) {
  }
}

void Encode(const Case& c, const Bitmap& bitmap) {
  const size_t row = (static_cast<size_t>(bitmap.Width()) * 3 + 3) & ~size_t{3};
  if (EncodeBmp(bitmap).size() != 54 + row * static_cast<size_t>(bitmap.Height())) {
    FuzzFailure("BMP size does not match the bitmap");
  }
  if (!(c.Options & kJpeg)) return;
  try {
    EncodeJpeg(bitmap, 2 + static_cast<int>(c.Project.Settings.BackgroundColor & 0x7F) % 99);
  } catch (const JpegError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const Case c = ReadCase(in);
  SetRegionalDecimalSeparator(c.Options & kComma ? ',' : '.');
  if (c.Options & kChecked && !CheckSettings(c.Project.Settings, 4096, 4096).Passed()) return 0;
  Bitmap bitmap(c.BitmapWidth, c.BitmapHeight);
  if (c.Options & kComponent) {
    Draw(c, bitmap);
  } else {
    Render(c, bitmap);
  }
  Encode(c, bitmap);
  return 0;
}
