#pragma once

#include <cfenv>
#include <cstdint>

// The floating-point fault flags that evaluation and the drawing loop report, and how they are
// read, cleared and turned into an EngineError.
constexpr int kFloatFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// The message of an evaluation that raised floating-point exception flags (FE_INVALID,
// FE_DIVBYZERO, FE_OVERFLOW): an invalid operation wins over a division by zero, which wins over
// an overflow.
inline const char* FloatFaultMessage(int raised) {
  if ((raised & FE_INVALID) != 0) return "Invalid floating point operation";
  if ((raised & FE_DIVBYZERO) != 0) return "Floating point division by zero";
  return "Floating point overflow";
}

// The value must exist before the flags are read; the barrier keeps the operation ahead of the
// test.
inline void Materialise(long double& value) {
#if defined(__x86_64__)
  asm volatile("" : "+t"(value));
#else
  asm volatile("" : "+m"(value));
#endif
}

// The raised fault flags of the x87 unit and of SSE, read in place: the same test as fetestexcept
// without the call, which matters once per operation.
inline int RaisedFaults() {
#if defined(__x86_64__)
  static_assert(FE_INVALID == 0x01 && FE_DIVBYZERO == 0x04 && FE_OVERFLOW == 0x08,
                "the flags sit at the same bits in the x87 status word and in MXCSR");
  uint16_t status = 0;
  uint32_t control = 0;
  asm volatile("fnstsw %0" : "=am"(status));
  asm volatile("stmxcsr %0" : "=m"(control));
  return (status | control) & kFloatFaults;
#else
  return std::fetestexcept(kFloatFaults);
#endif
}

inline void ClearFaults() {
  std::feclearexcept(kFloatFaults);
}

// Flags are cheap to test and dear to clear, so they are cleared only when found set.
inline int TakeFaults() {
  const int flags = RaisedFaults();
  if (flags != 0) ClearFaults();
  return flags;
}

// Throws the EngineError of the raised flags.
[[noreturn]] void RaiseFault(int flags);

// Throws when any of these flags is raised. A call of its own, so that the operations before it
// are done when it reads the flags.
void ThrowOnFault(int faults);
