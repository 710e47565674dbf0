#include "graph/FunctionCurves.h"

#include "platform/Conversions.h"

bool IsBlank(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > ' ') return false;
  }
  return true;
}

namespace {

RenderResult DrawFunction(size_t index, long double& step, Canvas& canvas,
                          const PlotGeometry& frame, TQelParser& parser, const CurveStyle& style,
                          const Checkpoint& checkpoint, const FunctionList& functions,
                          ColumnTable& columns, CurveWorkers* workers) {
  const FunctionRow row = functions.Row(index);
  if (functions.SkipBlank && IsBlank(row.Expression)) return RenderResult::Completed;
  step = StrToLongDoubleOr(parser, row.StepWidth, step);
  parser.SetExpression(row.Expression);
  if (!parser.CreateTree()) {
    if (functions.Failed) functions.Failed(index, row.Expression);
    return RenderResult::Completed;
  }
  if (!workers || !workers->Has(index)) {
    return DrawCurve(canvas, frame, parser, columns, step, row.Color, style, checkpoint);
  }
  return DrawSampledCurve(canvas, frame, parser, columns, CurveStep(frame, step, style), row.Color,
                          style, checkpoint, workers->Fetch(index));
}

}  // namespace

RenderResult DrawFunctions(Canvas& canvas, const PlotGeometry& frame, TQelParser& parser,
                           const CurveStyle& style, const Checkpoint& checkpoint,
                           const FunctionList& functions, ColumnTable& columns,
                           CurveWorkers* workers) {
  long double step = 1;
  for (size_t i = 0; i < functions.Count; ++i) {
    if (checkpoint.Stop()) return RenderResult::Cancelled;
    if (DrawFunction(i, step, canvas, frame, parser, style, checkpoint, functions, columns,
                     workers) == RenderResult::Cancelled) {
      return RenderResult::Cancelled;
    }
    if (workers && workers->Has(i)) workers->Release(i);
  }
  return RenderResult::Completed;
}
