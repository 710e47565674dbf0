#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// The platform's own locale-aware conversions (regional decimal separator), used by the engine's
// leaf test, the settings check, the renderer's grid step and the integer fields.
class ConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Blanks around the text skipped; optional sign, digits with at most one regional separator (at
// least one digit), optional exponent; the whole text; within the extended range (an underflow
// gives 0). Throws ConvertError "'<text>' is not a valid floating point value".
long double StrToFloat(std::string_view text);

// Blanks around the text skipped; optional sign, decimal digits, within 32 bits.
// Throws ConvertError "'<text>' is not a valid integer value".
int32_t StrToInt(std::string_view text);

// The general format with 15 significant digits of the value rounded to double, regional separator.
std::string FloatToStr(long double value);

// The leading decimal integer of a text, as C's atol: leading white space, optional sign, digits up
// to the first other character, 0 without digits; wraps to 32 bits.
int32_t LeadingInt(std::string_view text);
