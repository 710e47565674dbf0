#include "graph/GraphRenderer.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <set>

#include "engine/QuotedExpression.h"
#include "graph/Annotations.h"
#include "graph/CurveWorkers.h"
#include "graph/FunctionCurves.h"
#include "graph/TextFace.h"
#include "platform/Conversions.h"
#include "platform/RegionalSettings.h"

namespace {

struct Inputs {
  long double XFrom = -10, XTo = 10, YFrom = -10, YTo = 10, Deviation = 0;
  int32_t W = 0, H = 0;
};

int32_t Integer(const std::string& text, int32_t fallback) {
  try {
    return StrToInt(text);
  } catch (const ConvertError&) {
    return fallback;
  }
}

Inputs Convert(const ProjectSettings& s, TQelParser& parser) {
  Inputs in;
  in.XFrom = StrToLongDoubleOr(parser, s.XFrom, in.XFrom);
  in.XTo = StrToLongDoubleOr(parser, s.XTo, in.XTo);
  in.YFrom = StrToLongDoubleOr(parser, s.YFrom, in.YFrom);
  in.YTo = StrToLongDoubleOr(parser, s.YTo, in.YTo);
  in.Deviation = StrToLongDoubleOr(parser, s.Deviation, in.Deviation);
  const OutputSize size = RenderOutputSize(s);
  in.W = size.Width;
  in.H = size.Height;
  return in;
}

}  // namespace

OutputSize RenderOutputSize(const ProjectSettings& settings) {
  return {Integer(settings.OutputWidth, 640), Integer(settings.OutputHeight, 480)};
}

namespace {

PlotGeometry Geometry(const Inputs& in) {
  PlotGeometry g;
  g.XFrom = in.XFrom;
  g.XTo = in.XTo;
  g.YFrom = in.YFrom;
  g.YTo = in.YTo;
  g.W = in.W;
  g.H = in.H;
  g.RowTop = in.YTo;
  g.RowRange = in.YTo - in.YFrom;
  g.OriginColumn = PixelOffset(-in.XFrom, in.W, in.XTo - in.XFrom);
  g.OriginRow = PixelOffset(in.YTo, in.H, g.RowRange);
  return g;
}

}  // namespace

PlotGeometry RenderGeometry(const ProjectSettings& settings, TQelParser& parser) {
  return Geometry(Convert(settings, parser));
}

namespace {

// A step width "x" reads the engine's x, which the curve before it leaves behind, so only the
// drawing itself can tell it.
bool StepReadsX(const std::string& text) {
  return text == "x" || text == "X";
}

// The curves to sample ahead, with the steps the drawing will take; none when the work is not
// worth threads or the steps cannot be known before the drawing.
std::vector<CurveJob> PlanCurves(const ProjectDocument& project, TQelParser& parser,
                                 const PlotGeometry& frame, const CurveStyle& style,
                                 unsigned threads) {
  std::vector<CurveJob> jobs;
  if (threads < 2 || frame.W > ColumnTable::kCachedColumns) return jobs;
  long double step = 1;
  for (size_t i = 0; i < project.Functions.size(); ++i) {
    const FunctionEntry& entry = project.Functions[i];
    if (IsBlank(entry.Expression)) continue;
    if (StepReadsX(entry.StepWidth)) return {};
    step = StrToLongDoubleOr(parser, entry.StepWidth, step);
    jobs.push_back({i, entry.Expression, CurveStep(frame, step, style)});
  }
  if (jobs.size() < 2) return {};
  return jobs;
}

std::unique_ptr<CurveWorkers> StartWorkers(const ProjectDocument& project, TQelParser& parser,
                                           const PlotGeometry& frame, const CurveStyle& style,
                                           ColumnTable& columns, unsigned threads) {
  std::vector<CurveJob> jobs = PlanCurves(project, parser, frame, style, threads);
  if (jobs.empty()) return nullptr;
  std::set<int64_t> steps;
  for (const CurveJob& job : jobs) steps.insert(job.P);
  for (const int64_t p : steps) columns.Prepare(p);
  // The calling thread draws all the while, so it takes one of the threads.
  return std::make_unique<CurveWorkers>(parser, frame, columns, std::move(jobs), threads - 1);
}

CurveStyle StyleOf(const ProjectSettings& s, const Inputs& in) {
  CurveStyle style;
  style.Pointwise = s.Pointwise;
  if (s.UseDeviation && in.Deviation > 0) style.Deviation = in.Deviation;
  style.Smooth = s.SmoothCurves;
  style.Exact = s.ExactCurves;
  return style;
}

FunctionList ProjectFunctions(const ProjectDocument& project, const RenderReport& report) {
  FunctionList list;
  list.Count = project.Functions.size();
  list.Row = [&](size_t i) {
    const FunctionEntry& entry = project.Functions[i];
    return FunctionRow{LeadingInt(entry.Color), entry.StepWidth, entry.Expression,
                       entry.DrawFirstDerivative, entry.DrawSecondDerivative};
  };
  list.SkipBlank = true;
  list.Failed = [&](size_t, const std::string& expression) {
    if (report) report(FunctionDefinitionError(expression));
  };
  return list;
}

std::string Trimmed(const std::string& text) {
  const auto printable = [](char c) { return static_cast<unsigned char>(c) > ' '; };
  const auto first = std::find_if(text.begin(), text.end(), printable);
  const auto last = std::find_if(text.rbegin(), text.rend(), printable).base();
  return first < last ? std::string(first, last) : std::string();
}

std::vector<LegendEntry> LegendEntries(const ProjectDocument& project) {
  std::vector<LegendEntry> entries;
  for (size_t i = 0; i < project.Functions.size(); ++i) {
    const FunctionEntry& entry = project.Functions[i];
    if (IsBlank(entry.Expression)) continue;
    entries.push_back(
        {"f" + std::to_string(i + 1) + "(x) = " + Printable(Trimmed(entry.Expression)),
         LeadingInt(entry.Color)});
  }
  return entries;
}

}  // namespace

std::string FunctionDefinitionError(const std::string& expression) {
  return "Fehler in Funktionsdefinition:\n\n" + QuotedExpression(expression) +
         "\n\nDer Graph dieser Funktion kann nicht erzeugt werden.";
}

RenderResult GraphRenderer(const ProjectDocument& project, TQelParser& parser, Canvas& bitmap,
                           const bool& cancelled, const std::function<void()>& poll,
                           const RenderReport& report, unsigned threads) {
  const ProjectSettings& s = project.Settings;
  const Checkpoint checkpoint(cancelled, poll);
  parser.SetPrecision(8);
  const Inputs in = Convert(s, parser);
  FillBackground(bitmap, s.BackgroundColor);
  const PlotGeometry frame = Geometry(in);
  std::optional<long double> gridStep;
  if (s.ShowGrid) {
    gridStep = StrToFloat(s.GridStep);
    if (DrawGrid(bitmap, frame, *gridStep, s.GridColor, checkpoint) == RenderResult::Cancelled) {
      return RenderResult::Cancelled;
    }
  }
  if (s.ShowAxes) DrawAxes(bitmap, frame, s.AxisColor, 2);
  const CurveStyle style = StyleOf(s, in);
  const AnnotationStyle notes{s.AxisColor, s.BackgroundColor, AnnotationSize(frame),
                              RegionalDecimalSeparator()};
  // Under the curves, so that the numbers' boxes hide grid lines but never a curve.
  if (s.AxisNumbers) DrawAxisNumbers(bitmap, frame, gridStep, notes);
  const Legend legend = s.Legend ? PlanLegend(LegendEntries(project), frame, notes.Size) : Legend{};
  CoverageCanvas counted(bitmap, legend.Corners);
  ColumnTable columns(frame, parser, style.Exact ? ExactDigits(frame) : 0);
  const std::unique_ptr<CurveWorkers> workers =
      StartWorkers(project, parser, frame, style, columns, threads);
  if (DrawFunctions(s.Legend ? static_cast<Canvas&>(counted) : bitmap, frame, parser, style,
                    checkpoint, ProjectFunctions(project, report), columns,
                    workers.get()) == RenderResult::Cancelled) {
    return RenderResult::Cancelled;
  }
  if (s.ShowAxes) DrawAxes(bitmap, frame, s.AxisColor, 2);
  if (s.Legend) DrawLegend(bitmap, legend, counted.Covered(), notes);
  return RenderResult::Completed;
}
