#include "components/QelGraphics.h"

#include <memory>
#include <stdexcept>

#include "engine/FloatFaults.h"
#include "graph/FunctionCurves.h"
#include "graph/PlotLoop.h"
#include "platform/Conversions.h"

namespace {

constexpr int32_t kSilver = 0xC0C0C0;

int32_t To32(int64_t value) {
  if (value < INT32_MIN || value > INT32_MAX) {
    throw EngineError(FloatFaultMessage(FE_INVALID));
  }
  return static_cast<int32_t>(value);
}

}  // namespace

TQelGraphics::TQelGraphics() : Parser_(std::make_shared<QelTreeRoot>(), PowerRule::Plain) {
  Parser_.SetPrecision(8);
  Parser_.SetConvertAllColonsAndDots(false);
}

int32_t TQelGraphics::UmrechnenX(long double x, int32_t width, double from, double to) {
  return To32(PixelOffset(x - from, width, static_cast<long double>(to) - from));
}

int32_t TQelGraphics::UmrechnenY(long double y, int32_t height, double from, double to) {
  return To32(PixelOffset(to - y, height, static_cast<long double>(to) - from));
}

const std::string& TQelGraphics::Line(const std::vector<std::string>& lines, size_t index) const {
  if (index >= lines.size()) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  }
  return lines[index];
}

int32_t TQelGraphics::DrawToCanvas(Bitmap& canvas) {
  Cancelled_ = false;
  const Checkpoint checkpoint(Cancelled_, Poll_);
  Parser_.SetPrecision(8);
  const int32_t w = DestinationWidth_, h = DestinationHeight_;
  if (ClearCanvas_) {
    canvas.SetBrushColor(kSilver);
    canvas.FillRect(0, 0, w, h);
  }
  FillBackground(canvas, Background_);

  // Origin and rows use the bounds as double, the sampling and the grid the extended values.
  const auto xFrom = static_cast<long double>(static_cast<double>(X_From_));
  const auto xTo = static_cast<long double>(static_cast<double>(X_To_));
  const auto yFrom = static_cast<long double>(static_cast<double>(Y_From_));
  const auto yTo = static_cast<long double>(static_cast<double>(Y_To_));
  PlotGeometry frame{X_From_, X_To_, Y_From_, Y_To_, w, h, yTo, yTo - yFrom, 0, 0};
  frame.OriginColumn = PixelOffset(0 - xFrom, w, xTo - xFrom);
  frame.OriginRow = PixelOffset(yTo - 0, h, yTo - yFrom);
  if (Grid_ &&
      DrawGrid(canvas, frame, GridSpace_, GridColor_, checkpoint) == RenderResult::Cancelled) {
    return -1;
  }
  if (Cross_) DrawAxes(canvas, frame, CrossColor_, 1);

  CurveStyle style;
  style.Pointwise = PointsOnly_;
  style.Thick = false;
  if (Y_MaxDifference_ > 0) style.Deviation = Y_MaxDifference_;
  int32_t lastFailing = 0;
  FunctionList functions;
  functions.Count = Expressions_.size();
  functions.Row = [&](size_t m) {
    FunctionRow row;
    row.Color = LeadingInt(Line(Colors_, m));
    row.StepWidth = Line(Steps_, m);
    row.Expression = Expressions_[m];
    return row;
  };
  functions.Failed = [&](size_t m, const std::string&) {
    lastFailing = static_cast<int32_t>(m + 1);
  };
  ColumnTable columns(frame, Parser_);
  if (DrawFunctions(canvas, frame, Parser_, style, checkpoint, functions, columns) ==
      RenderResult::Cancelled) {
    return -1;
  }
  return lastFailing;
}
