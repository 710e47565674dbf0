#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Exact conversions between decimal text and binary floating point that do not go through the C
// library's text formatting on the common path; results are bit-identical to the library's.

struct DecimalReading {
  long double Value = 0;
  bool Overflow = false;  // beyond the extended range
};

// Reads the leading number of a text as C's atold does: leading white space, optional sign,
// digits with an optional point and fraction, optional exponent; anything after it is ignored,
// no number gives 0. '.', pointA and pointB all count as the decimal point.
DecimalReading ReadLeadingDecimal(std::string_view text, char pointA, char pointB);

// The digits of |value| rounded once, half to even, at the coarser of "decimals digits after the
// point" and "19 significant digits", as fcvt gives them but without leading or trailing zeros;
// Point is the position of the decimal point relative to the first digit. Zero gives no digits
// and Point 0, and so do infinities and not-a-number, which have no digits.
struct FixedDigits {
  std::string Digits;
  int Point = 0;
};
FixedDigits RoundToFixedDigits(double value, int64_t decimals);

// The same rounding worked out on the full decimal expansion; slow, the reference for the above.
FixedDigits RoundToFixedDigitsExact(double value, int64_t decimals);
