#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/QelParser.h"
#include "graph/Canvas.h"
#include "graph/CurveWorkers.h"
#include "graph/PlotLoop.h"

// One function of a list as the drawing reads it.
struct FunctionRow {
  int32_t Color = 0;
  std::string StepWidth;
  std::string Expression;
  // Derivative curves drawn after the function's own, dashed in a lighter tone.
  bool FirstDerivative = false;
  bool SecondDerivative = false;
};

// The functions to draw, in order; Row may throw, which ends the drawing.
struct FunctionList {
  size_t Count = 0;
  std::function<FunctionRow(size_t index)> Row;
  // Rows whose expression is blank are passed over rather than built.
  bool SkipBlank = false;
  // Told of each expression that does not build; the drawing goes on with the next row.
  std::function<void(size_t index, const std::string& expression)> Failed;
};

// Whether the text holds nothing but blanks and control characters.
bool IsBlank(const std::string& text);

// Draws one curve per function, with a check point before each: its colour, its step (the one
// before stays when a step does not read; 1 for the first), its expression built in the engine.
// The workers' samples are taken for the functions they hold and released when drawn.
RenderResult DrawFunctions(Canvas& canvas, const PlotGeometry& frame, TQelParser& parser,
                           const CurveStyle& style, const Checkpoint& checkpoint,
                           const FunctionList& functions, ColumnTable& columns,
                           CurveWorkers* workers = nullptr);
