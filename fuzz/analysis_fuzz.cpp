// Any bytes as a project, analysed over a narrow picture: the analysis ends by itself, its lists
// keep to their limit, its points lie in the range in order of x, and its text has one line a
// point.
#include <algorithm>

#include "analysis/CurveAnalysis.h"
#include "analysis/PointTable.h"
#include "fuzz/FuzzInput.h"
#include "platform/Conversions.h"
#include "platform/RegionalSettings.h"
#include "project/ProjectFile.h"

namespace {

// Columns and functions kept small, so that one input takes milliseconds.
constexpr size_t kMaxFunctions = 3;
constexpr const char* kColumns = "48";
constexpr long kMaxStops = 100000;

void CheckList(const PointList& list, const AnalysisFrame& frame) {
  if (list.Points.size() > kMaxPoints + 1) FuzzFailure("more points than the limit");
  for (size_t i = 0; i < list.Points.size(); ++i) {
    const CurvePoint& p = list.Points[i];
    if (i > 0 && p.X < list.Points[i - 1].X) FuzzFailure("points out of order");
    if (!(p.X >= std::min(frame.XFrom, frame.XTo) && p.X <= std::max(frame.XFrom, frame.XTo))) {
      FuzzFailure("a point outside the range");
    }
    const bool valueless = p.Kind == PointKind::Pole || p.Kind == PointKind::Jump;
    if (p.Y.has_value() == valueless)
      FuzzFailure("a pole or jump with a value, or a point without");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  SetRegionalDecimalSeparator(in.Byte() & 1 ? ',' : '.');
  const std::string text = in.Rest();
  ProjectDocument project;
  try {
    ReadProjectText(text, project);
  } catch (const ConvertError&) {
  }
  project.Settings.OutputWidth = kColumns;
  if (project.Functions.size() > kMaxFunctions) project.Functions.resize(kMaxFunctions);

  TQelParser engine(std::make_shared<QelTreeRoot>(), PowerRule::CheckNegativeBase);
  engine.SetConvertAllColonsAndDots(true);
  long stops = 0;
  const ProjectPoints points =
      AnalyseProject(project, engine, std::nullopt, [&] { return ++stops > kMaxStops; });
  if (points.Cancelled) FuzzFailure("the analysis did not end by itself");
  if (points.Lists.empty()) return 0;
  const AnalysisFrame frame = ProjectFrame(project.Settings, engine);
  size_t count = 0;
  for (const PointList& list : points.Lists) {
    CheckList(list, frame);
    count += list.Points.size();
  }
  const std::string table = PointTableText(PointRows(points.Lists, engine), "\n");
  if (static_cast<size_t>(std::count(table.begin(), table.end(), '\n')) != count + 1) {
    FuzzFailure("table line count");
  }
  return 0;
}
