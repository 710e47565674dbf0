#pragma once

#include <functional>
#include <string>

#include "engine/QelParser.h"
#include "graph/Canvas.h"
#include "graph/CurveWorkers.h"
#include "graph/PlotLoop.h"
#include "project/ProjectDocument.h"

// Shows a message (caption "Qel Graphics", OK, exclamation icon) and returns when it was closed.
using RenderReport = std::function<void(const std::string& message)>;

// Draws the project onto the canvas: background, grid, axes, one curve per function, axes again;
// with the project's switches also axis numbers (before the curves), smooth or exact curves and a
// legend (last).
// Positions are those of the project's W x H frame whatever size the canvas has. Sets the engine's
// precision to 8. Tests `cancelled` at every check point, then calls `poll`. A grid step that
// cannot be read (ConvertError) or is 0, and a range that collapses to zero in the engine's reading
// (EngineError), end the drawing by an exception; what was drawn stays. With several threads the
// curves are sampled ahead on worker threads; picture, messages and engine state are the same.
RenderResult GraphRenderer(const ProjectDocument& project, TQelParser& parser, Canvas& canvas,
                           const bool& cancelled, const std::function<void()>& poll,
                           const RenderReport& report, unsigned threads = RenderThreads());

struct OutputSize {
  int32_t Width;
  int32_t Height;
};

// The frame the renderer draws the project in: its ranges, W x H and origin, read as it reads them.
PlotGeometry RenderGeometry(const ProjectSettings& settings, TQelParser& parser);

// The project's W x H as the renderer reads it: 640 x 480 where a text is no integer.
OutputSize RenderOutputSize(const ProjectSettings& settings);

// The message for a function whose expression does not build.
std::string FunctionDefinitionError(const std::string& expression);
