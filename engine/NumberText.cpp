#include "engine/NumberText.h"

#include <locale.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaxMantissaDigits = 19;  // 10^19 - 1 < 2^64, exact in the extended mantissa
constexpr int kExactPowers = 27;        // 5^27 < 2^64, so 10^0..10^27 are exact extended values
constexpr int64_t kExponentCap = 100000;
constexpr uint64_t kInfinityBits = uint64_t{0x7FF} << 52;

constexpr std::array<long double, kExactPowers + 1> MakePowersOfTen() {
  std::array<long double, kExactPowers + 1> powers{};
  long double p = 1;
  for (auto& power : powers) {
    power = p;
    p *= 10;
  }
  return powers;
}
constexpr auto kPowersOfTen = MakePowersOfTen();

constexpr std::array<uint64_t, kExactPowers + 1> MakePowersOfFive() {
  std::array<uint64_t, kExactPowers + 1> powers{};
  uint64_t p = 1;
  for (auto& power : powers) {
    power = p;
    p *= 5;
  }
  return powers;
}
constexpr auto kPowersOfFive = MakePowersOfFive();

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsCSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

// The number part of a text, taken apart.
struct Scanned {
  bool Negative = false;
  uint64_t Mantissa = 0;
  int MantissaDigits = 0;
  bool Inexact = false;  // a nonzero digit did not fit the mantissa
  int64_t Exponent = 0;  // value = Mantissa * 10^Exponent (when not inexact)
  int Digits = 0;
  size_t Begin = 0;  // the number part, sign included
  size_t End = 0;
};

void TakeDigit(Scanned& s, char c, bool fraction) {
  ++s.Digits;
  if (s.MantissaDigits == 0 && c == '0') {
    if (fraction) --s.Exponent;
    return;
  }
  if (s.MantissaDigits < kMaxMantissaDigits) {
    s.Mantissa = s.Mantissa * 10 + static_cast<uint64_t>(c - '0');
    ++s.MantissaDigits;
    if (fraction) --s.Exponent;
  } else {
    if (c != '0') s.Inexact = true;
    if (!fraction) ++s.Exponent;
  }
}

size_t ScanExponent(Scanned& s, std::string_view text, size_t i) {
  if (i >= text.size() || (text[i] != 'e' && text[i] != 'E')) return i;
  size_t j = i + 1;
  bool negative = false;
  if (j < text.size() && (text[j] == '+' || text[j] == '-')) negative = text[j++] == '-';
  if (j >= text.size() || !IsDigit(text[j])) return i;
  int64_t exponent = 0;
  for (; j < text.size() && IsDigit(text[j]); ++j) {
    if (exponent < kExponentCap) exponent = exponent * 10 + (text[j] - '0');
  }
  s.Exponent += negative ? -exponent : exponent;
  return j;
}

bool IsPoint(char c, char pointA, char pointB) {
  return c == '.' || c == pointA || c == pointB;
}

Scanned Scan(std::string_view text, char pointA, char pointB) {
  Scanned s;
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  s.Begin = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) s.Negative = text[i++] == '-';
  for (; i < text.size() && IsDigit(text[i]); ++i) TakeDigit(s, text[i], false);
  if (i < text.size() && IsPoint(text[i], pointA, pointB)) {
    for (++i; i < text.size() && IsDigit(text[i]); ++i) TakeDigit(s, text[i], true);
  }
  s.End = s.Digits > 0 ? ScanExponent(s, text, i) : i;
  return s;
}

// The library reads what the fast path cannot: long mantissas and far exponents.
DecimalReading LibraryReading(const Scanned& s, std::string_view text, char pointA, char pointB) {
  std::string number(text.substr(s.Begin, s.End - s.Begin));
  for (char& c : number) {
    if (IsPoint(c, pointA, pointB)) c = '.';
  }
  errno = 0;
  const long double value = strtold_l(number.c_str(), nullptr, CLocale());
  return {value, errno == ERANGE && std::isinf(value)};
}

std::string DigitsOf(uint64_t n) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
  return std::string(buffer, end);
}

}  // namespace

DecimalReading ReadLeadingDecimal(std::string_view text, char pointA, char pointB) {
  const Scanned s = Scan(text, pointA, pointB);
  if (s.Digits == 0) return {};
  const long double sign = s.Negative ? -1.0L : 1.0L;
  if (s.Mantissa == 0 && !s.Inexact) return {sign * 0.0L, false};
  if (s.Inexact || s.Exponent < -kExactPowers || s.Exponent > kExactPowers) {
    return LibraryReading(s, text, pointA, pointB);
  }
  // One correctly rounded operation on exact operands: the library's result, bit for bit.
  const long double m = static_cast<long double>(s.Mantissa);
  const long double value =
      s.Exponent >= 0 ? m * kPowersOfTen[s.Exponent] : m / kPowersOfTen[-s.Exponent];
  return {sign * value, false};
}

FixedDigits RoundToFixedDigits(double value, int64_t decimals) {
  const auto bits = std::bit_cast<uint64_t>(value) & ~(uint64_t{1} << 63);
  if (bits == 0) return {};
  if (decimals < 0 || decimals > kExactPowers || bits >= kInfinityBits) {
    return RoundToFixedDigitsExact(value, decimals);
  }
  const auto biased = static_cast<int>(bits >> 52);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  const uint64_t mantissa = biased == 0 ? fraction : fraction | (uint64_t{1} << 52);
  // |value| * 10^decimals = mantissa * 5^decimals * 2^shift, exactly.
  const unsigned __int128 scaled =
      static_cast<unsigned __int128>(mantissa) * kPowersOfFive[static_cast<size_t>(decimals)];
  const int64_t shift = std::max(biased, 1) - 1075 + decimals;
  unsigned __int128 rounded = 0;
  if (shift >= 0) {
    if (shift >= 64 || (scaled >> (127 - shift)) != 0) {
      return RoundToFixedDigitsExact(value, decimals);
    }
    rounded = scaled << shift;
  } else if (shift > -128) {
    const auto drop = static_cast<int>(-shift);
    const unsigned __int128 one = 1;
    const unsigned __int128 remainder = scaled & ((one << drop) - 1);
    const unsigned __int128 half = one << (drop - 1);
    rounded = scaled >> drop;
    if (remainder > half || (remainder == half && (rounded & 1) != 0)) ++rounded;
  }
  constexpr uint64_t kTen19 = 10000000000000000000ULL;
  if (rounded >= kTen19) return RoundToFixedDigitsExact(value, decimals);
  if (rounded == 0) return {};
  FixedDigits out{DigitsOf(static_cast<uint64_t>(rounded)), 0};
  out.Point = static_cast<int>(static_cast<int64_t>(out.Digits.size()) - decimals);
  out.Digits.erase(out.Digits.find_last_not_of('0') + 1);
  return out;
}

FixedDigits RoundToFixedDigitsExact(double value, int64_t decimals) {
  const double magnitude = std::fabs(value);
  if (magnitude == 0 || !std::isfinite(magnitude)) return {};
  // 767 significant digits hold every double exactly.
  char buffer[1024];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 800)
          .ptr;
  const std::string_view text(buffer, static_cast<size_t>(end - buffer));
  const size_t e = text.find('e');
  const std::string all = std::string(text.substr(0, 1)) + std::string(text.substr(2, e - 2));
  int exponent = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), end, exponent);
  const int64_t keep = std::min<int64_t>(exponent + 1 + decimals, kMaxMantissaDigits);
  if (keep < 0) return {};
  std::string digits = all.substr(0, static_cast<size_t>(keep));
  const char next = all[static_cast<size_t>(keep)];
  const bool restNonZero =
      all.find_first_not_of('0', static_cast<size_t>(keep) + 1) != std::string::npos;
  const bool lastOdd = !digits.empty() && ((digits.back() - '0') % 2) != 0;
  const bool up = next > '5' || (next == '5' && (restNonZero || lastOdd));
  int point = exponent + 1;
  if (up) {
    size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(digits.begin(), '1');
      ++point;
    } else {
      ++digits[i - 1];
    }
  }
  digits.erase(digits.find_last_not_of('0') + 1);
  if (digits.empty()) return {};
  return {digits, point};
}
