#pragma once

#include <cfenv>

// The message of an evaluation that raised floating-point exception flags (FE_INVALID,
// FE_DIVBYZERO, FE_OVERFLOW): an invalid operation wins over a division by zero, which wins over
// an overflow.
inline const char* FloatFaultMessage(int raised) {
  if ((raised & FE_INVALID) != 0) return "Invalid floating point operation";
  if ((raised & FE_DIVBYZERO) != 0) return "Floating point division by zero";
  return "Floating point overflow";
}
