#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/QelParser.h"
#include "graph/Canvas.h"

// The drawing shared by the project renderer and the stand-alone plotting component: background,
// grid, axes and sampled curves on a W x H pixel frame. The two callers differ only in what they
// pass in here.

enum class RenderResult { Completed, Cancelled };

// A check point tests the cancellation flag, then lets pending input through; the flag may be set
// by that input.
class Checkpoint {
 public:
  Checkpoint(const bool& cancelled, std::function<void()> poll)
      : cancelled_(cancelled), poll_(std::move(poll)) {}
  bool Stop() const {
    if (cancelled_) return true;
    if (poll_) poll_();
    return false;
  }

 private:
  const bool& cancelled_;
  std::function<void()> poll_;
};

struct PlotGeometry {
  // The ranges used for sampling, the pixel step and the grid.
  long double XFrom = -10, XTo = 10, YFrom = -10, YTo = 10;
  int32_t W = 640, H = 480;
  // Rows of values: trunc((RowTop - v) * H / RowRange).
  long double RowTop = 10, RowRange = 20;
  int64_t OriginColumn = 320, OriginRow = 240;
};

struct CurveStyle {
  bool Pointwise = true;
  bool Thick = true;                     // line-wise pieces drawn again one row lower
  std::optional<long double> Deviation;  // a sample this far from 0 or more starts a new piece
  bool Smooth = false;                   // anti-aliased at the values' exact rows
  // Every column from 0 to W sampled whatever the step, x at the digits the pixel width needs,
  // and steep stretches refined until they are traced to the pixel; a pole across the picture
  // breaks the line.
  bool Exact = false;
};

// trunc(offset * size / range) as a 64-bit pixel position; an arithmetic fault (a zero range, an
// overflow) or a result beyond 64 bits raises EngineError with the fault's message.
int64_t PixelOffset(long double offset, int32_t size, long double range);

// Flood-fills from (10, 10) with the colour as brush and border.
void FillBackground(Canvas& canvas, int32_t color);

// Grid lines anchored at the origin, spacing truncated once; lines that show nothing on the bitmap
// are skipped and coinciding ones drawn once. A zero spacing raises EngineError.
RenderResult DrawGrid(Canvas& canvas, const PlotGeometry& frame, long double spacing, int32_t color,
                      const Checkpoint& checkpoint);

// The x axis then the y axis through the origin, one or two pixels wide.
void DrawAxes(Canvas& canvas, const PlotGeometry& frame, int32_t color, int thickness);

// The x of every sampled column as the engine is given it: its text at the engine's precision and
// its value, made once per graph and shared by all its curves. Columns beyond kCachedColumns are
// made afresh at each use, so a huge frame costs no more memory than that.
class ColumnTable {
 public:
  static constexpr int64_t kCachedColumns = 65536;

  // Texts at the engine's precision, or with `digits` decimals when that is above 0.
  ColumnTable(const PlotGeometry& frame, TQelParser& parser, int32_t digits = 0)
      : frame_(frame), parser_(parser), digits_(digits) {}
  int32_t Digits() const { return digits_; }
  const VariableReading& At(int64_t u);
  // Makes the columns 1, 1 + p, ... up to W ahead, so that Cached may be read from other threads.
  void Prepare(int64_t p);
  // A column made before; null for a column that was not.
  const VariableReading* Cached(int64_t u) const;

 private:
  PlotGeometry frame_;
  TQelParser& parser_;
  int32_t digits_;
  std::vector<VariableReading> columns_;
  std::vector<bool> made_;
  VariableReading scratch_;
};

enum class SampleKind : uint8_t { Failed, NoRow, Point };

// One evaluated sample: the value unless evaluation raised, and its row when it has one.
struct CurveSample {
  long double Value = 0;
  int64_t Row = 0;
  SampleKind Kind = SampleKind::Failed;
};

// The pixel step p = trunc(W * step / range_x), at least 1; beyond W only column 1 is sampled.
int64_t PixelStep(const PlotGeometry& frame, long double step);
// The pixel step a curve of the style takes: 1 for exact curves.
int64_t CurveStep(const PlotGeometry& frame, long double step, const CurveStyle& style);

// The decimals of x that tell a tenth of the frame's pixel width apart, at least 8.
int32_t ExactDigits(const PlotGeometry& frame);
// x as the engine's text with the given decimals (the engine's precision when 0 or below).
std::string ColumnText(TQelParser& parser, long double x, int32_t digits);

// The number of columns 1, 1 + p, ... up to W.
int64_t SampleCount(const PlotGeometry& frame, int64_t p);

// Samples are evaluated in blocks of this many, which the engine takes together.
constexpr size_t kSampleBlock = 64;

// Evaluates the built tree at the columns of samples first .. first + count - 1.
void SampleCurve(TQelParser& parser, const PlotGeometry& frame, int64_t p, int64_t first,
                 size_t count, const std::function<const VariableReading&(int64_t u)>& column,
                 CurveSample* out);

// Hands over the samples from `first` on: sets `out` and returns how many are ready, at least one.
using SampleFetch = std::function<size_t(int64_t first, const CurveSample*& out)>;

// Draws the samples of a curve with its check points. The engine is left as if it had evaluated
// every sample that passed its check point: X the last such column, ErgebnisString the last
// value.
RenderResult DrawSampledCurve(Canvas& canvas, const PlotGeometry& frame, TQelParser& parser,
                              ColumnTable& columns, int64_t p, int32_t color,
                              const CurveStyle& style, const Checkpoint& checkpoint,
                              const SampleFetch& fetch);

// Samples the built tree at columns 1, 1 + p, ... up to W and draws points or joined pieces.
RenderResult DrawCurve(Canvas& canvas, const PlotGeometry& frame, TQelParser& parser,
                       ColumnTable& columns, long double step, int32_t color,
                       const CurveStyle& style, const Checkpoint& checkpoint);
RenderResult DrawCurve(Canvas& canvas, const PlotGeometry& frame, TQelParser& parser,
                       long double step, int32_t color, const CurveStyle& style,
                       const Checkpoint& checkpoint);

// A poll that passes only when `interval` has gone by since the last one it passed, so that input
// is let through every few milliseconds however fine the check points are. The clock is read at
// every eighth call.
class ThrottledPoll {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  ThrottledPoll(std::function<void()> poll, std::chrono::microseconds interval,
                Clock clock = std::chrono::steady_clock::now);
  void operator()();

 private:
  std::function<void()> poll_;
  std::chrono::microseconds interval_;
  Clock clock_;
  std::chrono::steady_clock::time_point last_;
  static constexpr unsigned kClockEvery = 8;
  unsigned calls_ = 0;
};
