#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/BracketSearch.h"
#include "analysis/TreeJet.h"
#include "engine/QelParser.h"
#include "project/ProjectDocument.h"

// The points of a curve discussion: for each function over the project's x range its zeros,
// extrema, inflection points, poles, jumps and y-intercept, and the intersections of two functions.
// The engine's evaluation decides where a function has a value; the derivatives are those of the
// engine's tree (TreeJet). Sampling takes every pixel column of the project's width, more where the
// values change by more than a few rows between columns; the jets are taken only around the columns
// where the engine's values, their differences or their second differences change sign, break off
// or are too small to tell; each bracket is narrowed to neighbouring long doubles (BracketSearch).

enum class PointKind : uint8_t {
  Zero,
  Maximum,
  Minimum,
  Inflection,
  Pole,
  Jump,
  Intersection,
  YIntercept
};

struct CurvePoint {
  PointKind Kind = PointKind::Zero;
  long double X = 0;
  std::optional<long double> Y;  // none for a pole or a jump
};

// The points of one function (Other 0) or of an intersection of Function with Other, numbered
// from 1 by their place in the project, in order of x; More counts the points found beyond
// kMaxPoints, which are left out.
struct PointList {
  size_t Function = 0;
  size_t Other = 0;
  std::vector<CurvePoint> Points;
  size_t More = 0;
};

inline constexpr size_t kMaxPoints = 100;

// The range analysed and the picture's pixels, which set the sampling.
struct AnalysisFrame {
  long double XFrom = -10, XTo = 10, YFrom = -10, YTo = 10;
  int32_t Columns = 640, Rows = 480;
};

// The project's ranges and size as the renderer reads them; a range that collapses raises
// EngineError.
AnalysisFrame ProjectFrame(const ProjectSettings& settings, TQelParser& engine);

// Asked between steps; true stops the analysis.
using StopRequest = std::function<bool()>;

// The x of the columns 0 .. Columns of a frame as the engine reads them, made once for all its
// functions.
struct FrameColumns {
  FrameColumns(const TQelParser& engine, const AnalysisFrame& frame);
  std::vector<VariableReading> Readings;
};

// A function sampled over the frame once, for its own points and for its intersections: the
// engine's values at every column, evaluated together as the drawing evaluates them, and the jets
// only at the columns a search asks for.
class SampledFunction {
 public:
  SampledFunction(const TQelParser& engine, const std::string& expression,
                  const FrameColumns& columns);
  SampledFunction(const TQelParser& engine, const std::string& expression,
                  const AnalysisFrame& frame);
  bool Built() const { return function_.Built(); }
  Probe At(long double x, int order = 3);
  // The columns 0 .. Columns, at the same x for every function of a frame.
  size_t Count() const { return values_.size(); }
  long double X(size_t i) const { return columns_[i].X; }
  // The engine's value at a column; not-a-number where it has none.
  long double Value(size_t i) const { return values_[i]; }
  // The engine's values in double precision, not-a-number where one has none or is beyond the
  // double range: enough to tell where f - g may cross.
  const std::vector<double>& Screen() const { return screen_; }
  // Whether the column's sample has a value, as Column(i).Defined says.
  bool HasValue(size_t i);
  // The column's sample with its jet up to f'', taken when first asked for.
  const Probe& Column(size_t i);
  DifferentiatedFunction& Function() { return function_; }

 private:
  DifferentiatedFunction function_;
  std::vector<long double> values_;
  std::vector<Probe> columns_;
  // Per column: whether it has a value (unknown until the jet tells), and whether the jet is taken.
  static constexpr uint8_t kStateNone = 0, kStateValue = 1, kStateUnknown = 2, kStateJet = 4;
  std::vector<uint8_t> states_;
  std::vector<double> screen_;
};

// The points of one function; nothing when stopped.
std::optional<PointList> AnalyseFunction(SampledFunction& f, const AnalysisFrame& frame,
                                         const StopRequest& stop);

// Where f and g cross or touch; nothing when stopped.
std::optional<PointList> Intersections(SampledFunction& f, SampledFunction& g,
                                       const StopRequest& stop);

struct ProjectPoints {
  std::vector<PointList> Lists;       // functions in order, each followed by its intersections
  std::vector<std::string> Messages;  // functions that do not build, as the renderer says it
  bool Cancelled = false;
};

// Every non-blank function of the project (or only the one at `only`, from 1) and, without `only`,
// every pair's intersections.
ProjectPoints AnalyseProject(const ProjectDocument& project, TQelParser& engine,
                             std::optional<size_t> only, const StopRequest& stop);

// f(x) for a typed x: the engine's value, or its message in `message`.
std::optional<long double> ValueAt(TQelParser& engine, const std::string& expression,
                                   const std::string& xText, std::string& message);
