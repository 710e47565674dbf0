#include "platform/Conversions.h"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/RegionalSettings.h"

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The C library's conversion reads "." whatever the process locale says.
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

// Checks the strict float grammar and rewrites the regional separator to "."; empty when invalid.
std::string StrictFloatText(std::string_view text) {
  const char separator = RegionalDecimalSeparator();
  std::string out;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
  int digits = 0;
  bool separatorSeen = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      ++digits;
      out += text[i];
    } else if (text[i] == separator && !separatorSeen) {
      separatorSeen = true;
      out += '.';
    } else {
      break;
    }
  }
  if (digits == 0) return {};
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    out += text[i++];
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
    const size_t exponentStart = i;
    while (i < text.size() && IsDigit(text[i])) out += text[i++];
    if (i == exponentStart) return {};
  }
  if (i != text.size()) return {};
  return out;
}

std::string WithSeparator(std::string text) {
  for (char& c : text) {
    if (c == '.') c = RegionalDecimalSeparator();
  }
  return text;
}

// The shortest decimal of a fixed-point layout: digits d1d2... with the first at power `exponent`.
std::string FixedLayout(const std::string& digits, int exponent) {
  std::string out;
  if (exponent < 0) {
    out = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  } else if (digits.size() <= static_cast<size_t>(exponent) + 1) {
    out = digits + std::string(static_cast<size_t>(exponent) + 1 - digits.size(), '0');
  } else {
    out = digits.substr(0, static_cast<size_t>(exponent) + 1) + "." +
          digits.substr(static_cast<size_t>(exponent) + 1);
  }
  return out;
}

std::string ScientificLayout(const std::string& digits, int exponent) {
  std::string out = digits.substr(0, 1);
  if (digits.size() > 1) out += "." + digits.substr(1);
  return out + "E" + std::to_string(exponent);
}

}  // namespace

long double StrToFloat(std::string_view text) {
  const ConvertError failure("'" + std::string(text) + "' is not a valid floating point value");
  const std::string strict = StrictFloatText(TrimBlanks(text));
  if (strict.empty()) throw failure;
  errno = 0;
  const long double value = strtold_l(strict.c_str(), nullptr, CLocale());
  // An underflow is accepted as 0 or the subnormal value; only an overflow is out of range.
  if (errno == ERANGE && std::isinf(value)) throw failure;
  return value;
}

int32_t StrToInt(std::string_view text) {
  const ConvertError failure("'" + std::string(text) + "' is not a valid integer value");
  std::string_view body = TrimBlanks(text);
  bool negative = false;
  if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
    negative = body[0] == '-';
    body.remove_prefix(1);
  }
  if (body.empty()) throw failure;
  int64_t magnitude = 0;
  for (const char c : body) {
    if (!IsDigit(c)) throw failure;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > 2147483648LL) throw failure;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > 2147483647LL) throw failure;
  return static_cast<int32_t>(value);
}

std::string FloatToStr(long double value) {
  const double d = static_cast<double>(value);
  if (std::isnan(d)) return "NAN";
  if (std::isinf(d)) return d > 0 ? "INF" : "-INF";
  if (d == 0) return "0";
  char buffer[64];
  // 15 significant digits, rounded once on the exact binary value.
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(d),
                                    std::chars_format::scientific, 14);
  const std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
  const size_t e = text.find('e');
  std::string digits = std::string(text.substr(0, 1)) + std::string(text.substr(2, e - 2));
  digits.erase(digits.find_last_not_of('0') + 1);
  int exponent = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                  exponent);
  const bool fixed = exponent >= -4 && exponent < 15;
  const std::string body =
      fixed ? FixedLayout(digits, exponent) : ScientificLayout(digits, exponent);
  return WithSeparator((d < 0 ? "-" : "") + body);
}

int32_t LeadingInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint32_t magnitude = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    magnitude = magnitude * 10u + static_cast<uint32_t>(text[i] - '0');
  }
  return static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
}
