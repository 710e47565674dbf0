#include "graph/FunctionCurves.h"

#include "graph/DerivativeCurves.h"

#include "platform/Conversions.h"

bool IsBlank(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > ' ') return false;
  }
  return true;
}

namespace {

RenderResult DrawDerivatives(Canvas& canvas, const PlotGeometry& frame, const TQelParser& parser,
                             const FunctionRow& row, const Checkpoint& checkpoint) {
  const bool orders[] = {row.FirstDerivative, row.SecondDerivative};
  for (int order = 1; order <= 2; ++order) {
    if (orders[order - 1] &&
        DrawDerivativeCurve(canvas, frame, parser, row.Expression, order, LighterTone(row.Color),
                            checkpoint) == RenderResult::Cancelled) {
      return RenderResult::Cancelled;
    }
  }
  return RenderResult::Completed;
}

RenderResult DrawCurveOf(size_t index, const FunctionRow& row, long double step, Canvas& canvas,
                         const PlotGeometry& frame, TQelParser& parser, const CurveStyle& style,
                         const Checkpoint& checkpoint, ColumnTable& columns,
                         CurveWorkers* workers) {
  if (!workers || !workers->Has(index)) {
    return DrawCurve(canvas, frame, parser, columns, step, row.Color, style, checkpoint);
  }
  return DrawSampledCurve(canvas, frame, parser, columns, CurveStep(frame, step, style), row.Color,
                          style, checkpoint, workers->Fetch(index));
}

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
  if (DrawCurveOf(index, row, step, canvas, frame, parser, style, checkpoint, columns, workers) ==
      RenderResult::Cancelled) {
    return RenderResult::Cancelled;
  }
  return DrawDerivatives(canvas, frame, parser, row, checkpoint);
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
