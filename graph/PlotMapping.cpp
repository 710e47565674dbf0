#include "graph/PlotMapping.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/Conversions.h"
#include "platform/RegionalSettings.h"

namespace {

// Values written without an exponent.
constexpr long double kSmallest = 1e-5L, kLargest = 1e15L;
constexpr int kMostDigits = 18;  // what an extended value holds

// Decimals that tell apart values one pixel apart, with one to spare.
int PixelDecimals(long double pixel) {
  return static_cast<int>(std::ceil(-std::log10(std::fabs(pixel)))) + 1;
}

// Locale-independent: the C library's locale may use another separator.
std::string Formatted(long double value, std::chars_format format, int digits) {
  char buffer[128];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, digits);
  return std::string(buffer, result.ptr);
}

// Drops trailing zeros of the fraction (and a bare separator) in front of the exponent, if any.
std::string TrimFraction(std::string text) {
  const size_t point = text.find('.');
  if (point == std::string::npos) return text;
  const size_t exponent = std::min(text.find('e'), text.size());
  size_t end = exponent;
  while (end > point + 1 && text[end - 1] == '0') --end;
  if (end == point + 1) --end;
  return text.substr(0, end) + text.substr(exponent);
}

bool IsNegativeZero(const std::string& text) {
  return text.size() > 1 && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos;
}

bool Increasing(const std::string& from, const std::string& to) {
  try {
    return StrToFloat(from) < StrToFloat(to);
  } catch (const ConvertError&) {
    return false;
  }
}

constexpr long double kLargestBound = 1e4900L;
constexpr long double kFinestPixel = 1e-4900L;

std::optional<ViewRanges> Checked(const PlotGeometry& frame, const ZoomLimits& limits,
                                  long double xFrom, long double xTo, long double yFrom,
                                  long double yTo) {
  for (const long double bound : {xFrom, xTo, yFrom, yTo}) {
    if (!(std::fabs(bound) <= kLargestBound)) return std::nullopt;
  }
  const long double xPixel = (xTo - xFrom) / frame.W, yPixel = (yTo - yFrom) / frame.H;
  if (!(xPixel >= std::max(kFinestPixel, limits.FinestXPixel) && yPixel >= kFinestPixel))
    return std::nullopt;
  ViewRanges ranges{PixelText(xFrom, xPixel), PixelText(xTo, xPixel), PixelText(yFrom, yPixel),
                    PixelText(yTo, yPixel)};
  if (!Increasing(ranges.XFrom, ranges.XTo) || !Increasing(ranges.YFrom, ranges.YTo))
    return std::nullopt;
  return ranges;
}

}  // namespace

ZoomLimits LimitsFor(const ProjectSettings& settings) {
  return {settings.ExactCurves ? 0.0L : 1e-8L};
}

long double ColumnX(const PlotGeometry& frame, long double column) {
  return frame.XFrom + column * (frame.XTo - frame.XFrom) / frame.W;
}

long double RowY(const PlotGeometry& frame, long double row) {
  return frame.RowTop - row * frame.RowRange / frame.H;
}

long double XColumn(const PlotGeometry& frame, long double x) {
  return (x - frame.XFrom) * frame.W / (frame.XTo - frame.XFrom);
}

long double YRow(const PlotGeometry& frame, long double y) {
  return (frame.RowTop - y) * frame.H / frame.RowRange;
}

std::string PixelText(long double value, long double pixel) {
  if (!std::isfinite(value)) return FloatToStr(value);
  const long double size = std::fabs(value);
  const int magnitude = value == 0 ? 0 : static_cast<int>(std::floor(std::log10(size)));
  int decimals = std::isfinite(pixel) && pixel != 0 ? PixelDecimals(pixel) : kMostDigits;
  decimals = std::min(decimals, kMostDigits - magnitude);  // no digits the value does not hold
  const bool fixed = value == 0 || (size >= kSmallest && size < kLargest);
  std::string text =
      TrimFraction(fixed ? Formatted(value, std::chars_format::fixed, std::max(decimals, 0))
                         : Formatted(value, std::chars_format::scientific,
                                     std::clamp(magnitude + decimals, 0, kMostDigits)));
  if (IsNegativeZero(text)) text.erase(0, 1);
  std::replace(text.begin(), text.end(), '.', RegionalDecimalSeparator());
  return text;
}

std::optional<ViewRanges> RectangleRanges(const PlotGeometry& frame, int32_t width, int32_t height,
                                          long double column1, long double row1,
                                          long double column2, long double row2,
                                          long double minimum, const ZoomLimits& limits) {
  const auto clamp = [](long double v, int32_t size) {
    return std::clamp(v, 0.0L, static_cast<long double>(size));
  };
  column1 = clamp(column1, width), column2 = clamp(column2, width);
  row1 = clamp(row1, height), row2 = clamp(row2, height);
  const long double left = std::min(column1, column2), right = std::max(column1, column2);
  const long double top = std::min(row1, row2), bottom = std::max(row1, row2);
  if (right - left <= minimum || bottom - top <= minimum) return std::nullopt;
  return Checked(frame, limits, ColumnX(frame, left), ColumnX(frame, right), RowY(frame, bottom),
                 RowY(frame, top));
}

std::optional<ViewRanges> ScaledRanges(const PlotGeometry& frame, long double column,
                                       long double row, long double factor,
                                       const ZoomLimits& limits) {
  const long double x = ColumnX(frame, column), y = RowY(frame, row);
  const long double yTo = frame.RowTop, yFrom = frame.RowTop - frame.RowRange;
  return Checked(frame, limits, x - (x - frame.XFrom) * factor, x + (frame.XTo - x) * factor,
                 y - (y - yFrom) * factor, y + (yTo - y) * factor);
}

std::string PointerReadout(const PlotGeometry& frame, long double column, long double row) {
  const long double xPixel = (frame.XTo - frame.XFrom) / frame.W;
  const long double yPixel = frame.RowRange / frame.H;
  return "x = " + PixelText(ColumnX(frame, column), xPixel) +
         "   y = " + PixelText(RowY(frame, row), yPixel);
}
