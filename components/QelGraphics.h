#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/QelParser.h"
#include "graph/Bitmap.h"

// Stand-alone plotting: the functions and drawing settings are properties, DrawToCanvas draws them
// onto a caller's bitmap with an engine of its own, so it never disturbs the application's engine.
class TQelGraphics {
 public:
  TQelGraphics();

  const std::vector<std::string>& Expressions() const { return Expressions_; }
  void SetExpressions(const std::vector<std::string>& lines) { Expressions_ = lines; }
  const std::vector<std::string>& Colors() const { return Colors_; }
  void SetColors(const std::vector<std::string>& lines) { Colors_ = lines; }
  const std::vector<std::string>& Steps() const { return Steps_; }
  void SetSteps(const std::vector<std::string>& lines) { Steps_ = lines; }

  int32_t Background() const { return Background_; }
  void SetBackground(int32_t color) { Background_ = color; }
  bool PointsOnly() const { return PointsOnly_; }
  void SetPointsOnly(bool value) { PointsOnly_ = value; }
  bool Cross() const { return Cross_; }
  void SetCross(bool value) { Cross_ = value; }
  int32_t CrossColor() const { return CrossColor_; }
  void SetCrossColor(int32_t color) { CrossColor_ = color; }
  bool Grid() const { return Grid_; }
  void SetGrid(bool value) { Grid_ = value; }
  int32_t GridColor() const { return GridColor_; }
  void SetGridColor(int32_t color) { GridColor_ = color; }
  long double GridSpace() const { return GridSpace_; }
  void SetGridSpace(long double value) { GridSpace_ = value; }
  long double X_From() const { return X_From_; }
  void SetMinusX(long double value) { X_From_ = value; }
  long double X_To() const { return X_To_; }
  void SetPlusX(long double value) { X_To_ = value; }
  long double Y_From() const { return Y_From_; }
  void SetMinusY(long double value) { Y_From_ = value; }
  long double Y_To() const { return Y_To_; }
  void SetPlusY(long double value) { Y_To_ = value; }
  int32_t DestinationWidth() const { return DestinationWidth_; }
  void SetDestWidth(int32_t value) { DestinationWidth_ = value; }
  int32_t DestinationHeight() const { return DestinationHeight_; }
  void SetDestHeight(int32_t value) { DestinationHeight_ = value; }
  long double Y_MaxDifference() const { return Y_MaxDifference_; }
  void SetAbstand(long double value) { Y_MaxDifference_ = value; }
  bool ClearCanvas() const { return ClearCanvas_; }
  void SetClearCanvas(bool value) { ClearCanvas_ = value; }

  // Lets pending input through at every check point; an input handler may call Cancel from there.
  void SetPoll(std::function<void()> poll) { Poll_ = std::move(poll); }

  // 0 when every expression built, n when line n (1-based) was the last one that did not, -1 when
  // cancelled. Throws std::out_of_range "List index out of bounds (%d)" when Steps or Colors is
  // shorter than Expressions, EngineError for a zero range or grid spacing.
  int32_t DrawToCanvas(Bitmap& canvas);
  void Cancel() { Cancelled_ = true; }

  // trunc((x - from) * width / (to - from)) and trunc((to - y) * height / (to - from)); a result
  // beyond 32 bits, or a zero range, raises EngineError.
  static int32_t UmrechnenX(long double x, int32_t width, double from, double to);
  static int32_t UmrechnenY(long double y, int32_t height, double from, double to);

 private:
  const std::string& Line(const std::vector<std::string>& lines, size_t index) const;

  std::vector<std::string> Expressions_, Colors_, Steps_;
  int32_t Background_ = 0xFFFFFF;
  bool PointsOnly_ = true;
  bool Cross_ = true;
  int32_t CrossColor_ = 0;
  bool Grid_ = false;
  int32_t GridColor_ = 0xC0C0C0;
  long double GridSpace_ = 1;
  long double X_From_ = -10, X_To_ = 10, Y_From_ = -10, Y_To_ = 10;
  int32_t DestinationWidth_ = 640, DestinationHeight_ = 480;
  long double Y_MaxDifference_ = 0;
  bool ClearCanvas_ = true;
  bool Cancelled_ = false;
  std::function<void()> Poll_;
  TQelParser Parser_;
};
