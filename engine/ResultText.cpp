// Results as text: fixed-point digits under the separator in use.
#include <algorithm>
#include <cmath>

#include "engine/FloatFaults.h"
#include "engine/NumberText.h"
#include "engine/QelParser.h"

namespace {

// Trailing zeros after the separator go, then a trailing separator; a leading one gets a "0".
void TrimZerosAndSeparator(std::string& text, const std::string& separator) {
  const size_t dot = separator.size() == 1 ? text.find(separator[0]) : text.find(separator);
  if (dot == std::string::npos) return;
  size_t end = text.size();
  while (end > dot + 1 && text[end - 1] == '0') --end;
  text.resize(end);
  if (text.ends_with(separator)) text.resize(text.size() - separator.size());
  if (text.starts_with(separator)) text.insert(0, 1, '0');
}

}  // namespace

std::string TQelParser::LongDoubleToStr(long double value) {
  InitLandDot();
  if (std::isnan(value)) return "NAN";
  const bool negative = std::signbit(value);
  const double d = static_cast<double>(value);
  if (std::isinf(d)) {
    TakeFaults();
    return negative ? "-INF" : "INF";
  }
  const FixedDigits fixed = RoundToFixedDigits(d, std::max(Precision_, 0));
  std::string text;
  if (fixed.Point > 0) {
    const auto whole = static_cast<size_t>(fixed.Point);
    text.append(fixed.Digits, 0, whole);
    if (text.size() < whole) text.append(whole - text.size(), '0');
    text += LandDot_;
    if (fixed.Digits.size() > whole) text.append(fixed.Digits, whole);
  } else {
    text += '0';
    text += LandDot_;
    text.append(static_cast<size_t>(-fixed.Point), '0');
    text += fixed.Digits;
  }
  TrimZerosAndSeparator(text, LandDot_);
  if (!negative) return text;
  std::string withSign(1, '-');
  withSign += text;
  return withSign;
}

std::string TQelParser::EntferneNullenUndPunkte(const std::string& text) const {
  std::string out = text;
  TrimZerosAndSeparator(out, LandDot_);
  return out;
}
