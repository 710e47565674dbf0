#include "graph/GraphRenderer.h"

#include <memory>
#include <set>

#include "engine/QuotedExpression.h"
#include "graph/CurveWorkers.h"
#include "platform/Conversions.h"

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

bool IsBlank(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > ' ') return false;
  }
  return true;
}

struct CurveState {
  long double Step = 1;
};

struct Curves {
  ColumnTable& Columns;
  CurveWorkers* Workers;
};

RenderResult DrawFunction(size_t index, const FunctionEntry& entry, TQelParser& parser,
                          Canvas& bitmap, const PlotGeometry& frame, const CurveStyle& style,
                          CurveState& state, Curves curves, const Checkpoint& checkpoint,
                          const RenderReport& report) {
  if (IsBlank(entry.Expression)) return RenderResult::Completed;
  const int32_t color = LeadingInt(entry.Color);
  state.Step = StrToLongDoubleOr(parser, entry.StepWidth, state.Step);
  parser.SetExpression(entry.Expression);
  if (!parser.CreateTree()) {
    if (report) report(FunctionDefinitionError(entry.Expression));
    return RenderResult::Completed;
  }
  if (!curves.Workers) {
    return DrawCurve(bitmap, frame, parser, curves.Columns, state.Step, color, style, checkpoint);
  }
  return DrawSampledCurve(bitmap, frame, parser, curves.Columns, PixelStep(frame, state.Step),
                          color, style, checkpoint, curves.Workers->Fetch(index));
}

// A step width "x" reads the engine's x, which the curve before it leaves behind, so only the
// drawing itself can tell it.
bool StepReadsX(const std::string& text) {
  return text == "x" || text == "X";
}

// The curves to sample ahead, with the steps the drawing will take; none when the work is not
// worth threads or the steps cannot be known before the drawing.
std::vector<CurveJob> PlanCurves(const ProjectDocument& project, TQelParser& parser,
                                 const PlotGeometry& frame, unsigned threads) {
  std::vector<CurveJob> jobs;
  if (threads < 2 || frame.W > ColumnTable::kCachedColumns) return jobs;
  long double step = 1;
  for (size_t i = 0; i < project.Functions.size(); ++i) {
    const FunctionEntry& entry = project.Functions[i];
    if (IsBlank(entry.Expression)) continue;
    if (StepReadsX(entry.StepWidth)) return {};
    step = StrToLongDoubleOr(parser, entry.StepWidth, step);
    jobs.push_back({i, entry.Expression, PixelStep(frame, step)});
  }
  if (jobs.size() < 2) return {};
  return jobs;
}

std::unique_ptr<CurveWorkers> StartWorkers(const ProjectDocument& project, TQelParser& parser,
                                           const PlotGeometry& frame, ColumnTable& columns,
                                           unsigned threads) {
  std::vector<CurveJob> jobs = PlanCurves(project, parser, frame, threads);
  if (jobs.empty()) return nullptr;
  std::set<int64_t> steps;
  for (const CurveJob& job : jobs) steps.insert(job.P);
  for (const int64_t p : steps) columns.Prepare(p);
  // The calling thread draws all the while, so it takes one of the threads.
  return std::make_unique<CurveWorkers>(parser, frame, columns, std::move(jobs), threads - 1);
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
  if (s.ShowGrid && DrawGrid(bitmap, frame, StrToFloat(s.GridStep), s.GridColor, checkpoint) ==
                        RenderResult::Cancelled) {
    return RenderResult::Cancelled;
  }
  if (s.ShowAxes) DrawAxes(bitmap, frame, s.AxisColor, 2);
  CurveStyle style;
  style.Pointwise = s.Pointwise;
  if (s.UseDeviation && in.Deviation > 0) style.Deviation = in.Deviation;
  CurveState state;
  ColumnTable columns(frame, parser);
  const std::unique_ptr<CurveWorkers> workers =
      StartWorkers(project, parser, frame, columns, threads);
  for (size_t i = 0; i < project.Functions.size(); ++i) {
    if (checkpoint.Stop()) return RenderResult::Cancelled;
    if (DrawFunction(i, project.Functions[i], parser, bitmap, frame, style, state,
                     {columns, workers.get()}, checkpoint, report) == RenderResult::Cancelled) {
      return RenderResult::Cancelled;
    }
    if (workers && workers->Has(i)) workers->Release(i);
  }
  if (s.ShowAxes) DrawAxes(bitmap, frame, s.AxisColor, 2);
  return RenderResult::Completed;
}
