#include "graph/Annotations.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "graph/PathClip.h"
#include "graph/TextFace.h"

namespace {

// Steps this coarse or fine, or numbers this large, are written with a power of ten.
constexpr long double kPlainLargest = 1e9L, kPlainFinest = 1e-6L;
// No more labels per axis than this, however the ranges are set.
constexpr int64_t kMostLabels = 400;

int Decimals(long double step) {
  for (int d = 0; d < 12; ++d) {
    const long double scaled = step * std::pow(10.0L, d);
    if (std::fabs(scaled - std::round(scaled)) <= 1e-6L * scaled) return d;
  }
  return 12;
}

std::string WithSeparator(std::string text, char separator) {
  std::replace(text.begin(), text.end(), '.', separator);
  return text;
}

}  // namespace

double AnnotationSize(const PlotGeometry& frame) {
  return std::clamp(std::round(std::min(frame.W, frame.H) / 45.0), 11.0, 24.0);
}

std::string AxisNumber(long double value, long double step, char separator) {
  step = std::fabs(step);
  if (std::fabs(value) < step * 1e-6L) return "0";
  char text[64];
  const auto d = static_cast<double>(value);
  if (step >= kPlainFinest && std::fabs(value) < kPlainLargest) {
    const auto end =
        std::to_chars(text, text + sizeof text, d, std::chars_format::fixed, Decimals(step));
    return WithSeparator(std::string(text, end.ptr), separator);
  }
  const int digits = std::clamp(static_cast<int>(std::floor(std::log10(std::fabs(value))) -
                                                 std::floor(std::log10(step) + 1e-9L)),
                                0, 15);
  const auto end =
      std::to_chars(text, text + sizeof text, d, std::chars_format::scientific, digits);
  std::string out(text, end.ptr);
  // 1.5e+12 -> 1.5E12, 2e-07 -> 2E-7
  const size_t e = out.find('e');
  std::string exponent = out.substr(e + 1);
  if (exponent[0] == '+') exponent.erase(0, 1);
  const bool negative = exponent[0] == '-';
  exponent.erase(0, negative ? 1 : 0);
  exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
  return WithSeparator(out.substr(0, e), separator) + "E" + (negative ? "-" : "") + exponent;
}

long double RoundStep(long double minimum) {
  if (!(minimum > 0) || !std::isfinite(minimum)) return 1;
  const long double power = std::pow(10.0L, std::floor(std::log10(minimum)));
  for (const long double factor : {1.0L, 2.0L, 5.0L, 10.0L}) {
    if (factor * power >= minimum * (1 - 1e-12L)) return factor * power;
  }
  return 10 * power;
}

namespace {

struct Tick {
  long double Value;
  int64_t Position;
};

// One axis as the labels see it: its pixel length, its range and where its value 0 lies.
struct Scale {
  int32_t Pixels;
  long double From, To;
  int64_t Origin;
  bool Downward;  // rows: values grow upwards
};

int64_t PositionOf(const Scale& scale, long double v) {
  const long double range = scale.To - scale.From;
  const long double offset = scale.Downward ? scale.To - v : v - scale.From;
  return static_cast<int64_t>(std::trunc(offset * scale.Pixels / range));
}

// The grid's lines, anchored at the origin with the spacing truncated once, as the grid draws
// them; empty when they lie closer than `pitch`.
std::vector<Tick> GridTicks(const Scale& scale, long double g, double pitch) {
  const long double spacing = std::trunc(g * scale.Pixels / (scale.To - scale.From));
  if (!(spacing >= pitch) || !std::isfinite(spacing)) return {};
  const long double sign = scale.Downward ? -1 : 1;
  const long double first =
      std::ceil((sign > 0 ? -scale.Origin : scale.Origin - scale.Pixels + 1) / spacing);
  const long double last =
      std::floor((sign > 0 ? scale.Pixels - 1 - scale.Origin : scale.Origin) / spacing);
  std::vector<Tick> ticks;
  for (long double k = first; k <= last && ticks.size() < kMostLabels; ++k) {
    ticks.push_back({k * g, scale.Origin + static_cast<int64_t>(sign * k * spacing)});
  }
  return ticks;
}

std::vector<Tick> RoundTicks(const Scale& scale, long double step) {
  std::vector<Tick> ticks;
  for (long double k = std::ceil(scale.From / step);
       k * step <= scale.To && ticks.size() < kMostLabels; ++k) {
    ticks.push_back({k * step, PositionOf(scale, k * step)});
  }
  return ticks;
}

// The ticks of an axis and the step their numbers are written for.
std::pair<std::vector<Tick>, long double> Ticks(const Scale& scale,
                                                std::optional<long double> gridStep,
                                                const std::function<double(long double)>& pitchOf) {
  const long double perPixel = (scale.To - scale.From) / scale.Pixels;
  if (gridStep && *gridStep > 0) {
    std::vector<Tick> ticks = GridTicks(scale, *gridStep, pitchOf(*gridStep));
    // A grid of fewer lines than that says less than round steps do.
    if (ticks.size() >= 3) return {ticks, *gridStep};
  }
  const long double guess = RoundStep(pitchOf(RoundStep(80 * perPixel)) * perPixel);
  const long double step = RoundStep(pitchOf(guess) * perPixel);
  return {RoundTicks(scale, step), step};
}

class LabelPainter {
 public:
  LabelPainter(Canvas& canvas, const AnnotationStyle& style) : canvas_(canvas), style_(style) {}

  void Reserve(const Rect& box) { taken_.push_back(box); }
  // Draws the text with its box's top left corner there unless the box leaves the picture or
  // overlaps what is drawn or reserved.
  bool Place(const std::string& text, double left, double top) {
    const TextExtent extent = MeasureText(text, style_.Size);
    const Rect box{left - 1, top, left + extent.Width + 1, top + extent.Height};
    if (box.Left < 0 || box.Top < 0 || box.Right > canvas_.Width() || box.Bottom > canvas_.Height())
      return false;
    for (const Rect& other : taken_) {
      if (box.Overlaps(other)) return false;
    }
    taken_.push_back(box);
    canvas_.SetBrushColor(style_.Paper);
    canvas_.FillRect(
        static_cast<int64_t>(std::floor(box.Left)), static_cast<int64_t>(std::floor(box.Top)),
        static_cast<int64_t>(std::ceil(box.Right)), static_cast<int64_t>(std::ceil(box.Bottom)));
    canvas_.SetPenColor(style_.Ink);
    canvas_.DrawText({text, left, top, style_.Size});
    return true;
  }
  TextExtent Measure(const std::string& text) const { return MeasureText(text, style_.Size); }

 private:
  Canvas& canvas_;
  const AnnotationStyle& style_;
  std::vector<Rect> taken_;
};

double Widest(const std::vector<Tick>& ticks, long double step, const LabelPainter& painter,
              char separator) {
  double widest = 0;
  for (const Tick& tick : ticks) {
    widest = std::max(widest, painter.Measure(AxisNumber(tick.Value, step, separator)).Width);
  }
  return widest;
}

}  // namespace

namespace {

// Where the axes lie and how large the numbers are.
struct AxisLayout {
  double W, H, Gap, X0, Y0, Height;
  bool XAxisInside, YAxisInside;
};

// Under the x axis, above it at the picture's bottom, along the edge it lies beyond.
void DrawXNumbers(LabelPainter& painter, const PlotGeometry& frame,
                  std::optional<long double> gridStep, const AnnotationStyle& style,
                  const AxisLayout& at) {
  double top = at.Y0 + 2 + at.Gap;
  if (!at.XAxisInside) {
    top = at.Y0 < 0 ? at.Gap : at.H - at.Gap - at.Height;
  } else if (top + at.Height > at.H) {
    top = at.Y0 - at.Gap - at.Height;
  }
  const double above = at.Y0 - at.Gap - at.Height;
  painter.Place("x", at.W - at.Gap - painter.Measure("x").Width,
                at.XAxisInside && above >= 0 ? above : top);
  const Scale scale{frame.W, frame.XFrom, frame.XTo, frame.OriginColumn, false};
  const auto pitch = [&](long double step) {
    return std::max(painter.Measure(AxisNumber(frame.XFrom, step, style.Separator)).Width,
                    painter.Measure(AxisNumber(frame.XTo, step, style.Separator)).Width) +
           2 * style.Size;
  };
  const auto [ticks, step] = Ticks(scale, gridStep, pitch);
  for (const Tick& tick : ticks) {
    if (tick.Value == 0) continue;
    const std::string text = AxisNumber(tick.Value, step, style.Separator);
    painter.Place(text, tick.Position + 0.5 - painter.Measure(text).Width / 2, top);
  }
}

// Left of the y axis, right of it at the picture's left edge, along the edge it lies beyond.
void DrawYNumbers(LabelPainter& painter, const PlotGeometry& frame,
                  std::optional<long double> gridStep, const AnnotationStyle& style,
                  const AxisLayout& at) {
  const Scale scale{frame.H, frame.YFrom, frame.YTo, frame.OriginRow, true};
  const auto [ticks, step] = Ticks(scale, gridStep, [&](long double) { return 2 * at.Height; });
  const double widest = Widest(ticks, step, painter, style.Separator);
  double right = at.X0 - at.Gap;
  if (!at.YAxisInside) {
    right = at.X0 < 0 ? at.Gap + widest : at.W - at.Gap;
  } else if (right - widest < 0) {
    right = at.X0 + 2 + at.Gap + widest;
  }
  const bool rightOfAxis = at.YAxisInside && right > at.X0;
  painter.Place(
      "y", at.YAxisInside && !rightOfAxis ? at.X0 + 2 + at.Gap : right - painter.Measure("y").Width,
      at.Gap);
  for (const Tick& tick : ticks) {
    if (tick.Value == 0) continue;
    const std::string text = AxisNumber(tick.Value, step, style.Separator);
    const double left = rightOfAxis ? right - widest : right - painter.Measure(text).Width;
    painter.Place(text, left, tick.Position + 0.5 - at.Height / 2);
  }
}

}  // namespace

void DrawAxisNumbers(Canvas& canvas, const PlotGeometry& frame, std::optional<long double> gridStep,
                     const AnnotationStyle& style) {
  LabelPainter painter(canvas, style);
  const double w = frame.W, h = frame.H;
  const double x0 = static_cast<double>(frame.OriginColumn);
  const double y0 = static_cast<double>(frame.OriginRow);
  const AxisLayout at{w,
                      h,
                      std::round(style.Size / 4),
                      x0,
                      y0,
                      painter.Measure("0").Height,
                      y0 >= 0 && y0 + 1 < h,
                      x0 >= 0 && x0 + 1 < w};
  painter.Reserve({-1e9, y0 - 1, 1e9, y0 + 3});
  painter.Reserve({x0 - 1, -1e9, x0 + 3, 1e9});
  DrawXNumbers(painter, frame, gridStep, style, at);
  DrawYNumbers(painter, frame, gridStep, style, at);
}

Legend PlanLegend(const std::vector<LegendEntry>& functions, const PlotGeometry& frame,
                  double size) {
  Legend legend;
  legend.Padding = std::round(size / 2);
  legend.LineHeight = MeasureText("f", size).Height;
  const double margin = 8, most = std::max(4 * size, 0.45 * frame.W - 2 * legend.Padding);
  const auto fitting = static_cast<size_t>(
      std::max(1.0, std::floor((frame.H - 2 * margin - 2 * legend.Padding) / legend.LineHeight)));
  double widest = 0;
  for (const LegendEntry& entry : functions) {
    if (legend.Entries.size() + 1 == fitting && functions.size() > fitting) {
      legend.Entries.push_back({"\u2026", entry.Color});
    } else {
      legend.Entries.push_back({Ellipsized(entry.Text, size, most), entry.Color});
    }
    widest = std::max(widest, MeasureText(legend.Entries.back().Text, size).Width);
    if (legend.Entries.size() == fitting) break;
  }
  const double bw = std::ceil(widest + 2 * legend.Padding);
  const double bh = std::ceil(legend.Entries.size() * legend.LineHeight + 2 * legend.Padding);
  const double w = frame.W, h = frame.H;
  legend.Corners = {Rect{w - margin - bw, margin, w - margin, margin + bh},
                    Rect{margin, margin, margin + bw, margin + bh},
                    Rect{w - margin - bw, h - margin - bh, w - margin, h - margin},
                    Rect{margin, h - margin - bh, margin + bw, h - margin}};
  return legend;
}

void DrawLegend(Canvas& canvas, const Legend& legend, const std::array<double, 4>& covered,
                const AnnotationStyle& style) {
  if (legend.Entries.empty()) return;
  const size_t corner =
      static_cast<size_t>(std::min_element(covered.begin(), covered.end()) - covered.begin());
  const Rect& box = legend.Corners[corner];
  const auto at = [](double v) { return static_cast<int64_t>(std::floor(v)); };
  canvas.SetBrushColor(style.Ink);
  canvas.FillRect(at(box.Left), at(box.Top), at(box.Right), at(box.Bottom));
  canvas.SetBrushColor(style.Paper);
  canvas.FillRect(at(box.Left) + 1, at(box.Top) + 1, at(box.Right) - 1, at(box.Bottom) - 1);
  double top = box.Top + legend.Padding;
  for (const LegendEntry& entry : legend.Entries) {
    canvas.SetPenColor(entry.Color);
    canvas.DrawText({entry.Text, box.Left + legend.Padding, top, style.Size});
    top += legend.LineHeight;
  }
}

// The pixels a line shows in each box: its length along its major axis there. Curves are mostly
// short lines, wholly inside a box or wholly outside; only the rest are clipped.
void CoverageCanvas::Count(double ax, double ay, double bx, double by, double weight) {
  const double left = std::min(ax, bx), right = std::max(ax, bx);
  const double top = std::min(ay, by), bottom = std::max(ay, by);
  for (size_t i = 0; i < boxes_.size(); ++i) {
    const Rect& r = boxes_[i];
    if (right < r.Left || left > r.Right || bottom < r.Top || top > r.Bottom) continue;
    if (left >= r.Left && right <= r.Right && top >= r.Top && bottom <= r.Bottom) {
      covered_[i] += weight * (std::max(right - left, bottom - top) + 1);
      continue;
    }
    const auto part = ClipSegment({ax, ay}, {bx, by}, {r.Left, r.Top, r.Right, r.Bottom});
    if (!part) continue;
    const long double dx = part->second.X - part->first.X, dy = part->second.Y - part->first.Y;
    covered_[i] += weight * static_cast<double>(std::max(std::fabs(dx), std::fabs(dy)) + 1);
  }
}

void CoverageCanvas::MoveTo(int64_t x, int64_t y) {
  penX_ = x;
  penY_ = y;
  target_.MoveTo(x, y);
}

void CoverageCanvas::CountLine(int64_t fromX, int64_t fromY, int64_t x, int64_t y, double weight) {
  Count(static_cast<double>(fromX), static_cast<double>(fromY), static_cast<double>(x),
        static_cast<double>(y), weight);
  penX_ = x;
  penY_ = y;
}

void CoverageCanvas::LineTo(int64_t x, int64_t y) {
  CountLine(penX_, penY_, x, y, 1);
  target_.LineTo(x, y);
}

void CoverageCanvas::Line(int64_t fromX, int64_t fromY, int64_t x, int64_t y) {
  CountLine(fromX, fromY, x, y, 1);
  target_.Line(fromX, fromY, x, y);
}

void CoverageCanvas::ThickLine(int64_t fromX, int64_t fromY, int64_t x, int64_t y) {
  CountLine(fromX, fromY, x, y, 2);
  target_.ThickLine(fromX, fromY, x, y);
}

void CoverageCanvas::SmoothPolyline(const std::vector<FinePoint>& points, double width) {
  for (size_t i = 0; i < points.size(); ++i) {
    const FinePoint& a = points[i == 0 ? 0 : i - 1];
    Count(a.X, a.Y, points[i].X, points[i].Y, width);
  }
  target_.SmoothPolyline(points, width);
}
