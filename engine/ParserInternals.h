#pragma once

#include <cfenv>
#include <cstdint>
#include <string_view>

#include "engine/QelParser.h"

// What the engine's files share: name comparison, the rounding mode, node kinds, leaf memos and a
// scope guard. Not for use outside engine/.

inline char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

inline bool EqualsLower(std::string_view text, std::string_view lowerName) {
  if (text.size() != lowerName.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (Lower(text[i]) != lowerName[i]) return false;
  }
  return true;
}

// fegetround without the call: the x87 rounding bits, which fesetround keeps equal to SSE's.
inline bool RoundsToNearest() {
#if defined(__x86_64__)
  uint16_t control = 0;
  asm volatile("fnstcw %0" : "=m"(control));
  return (control & 0x0C00) == 0;
#else
  return std::fegetround() == FE_TONEAREST;
#endif
}

inline bool IsFunction(NodeKind kind) {
  return kind >= NodeKind::Sin;
}

inline bool MemoFits(const LeafMemo& memo, char dot, char comma) {
  return memo.Valid && memo.Dot == dot && memo.Comma == comma;
}

// Whether x at this reading is the value read with its text: the memo fits and the text names no
// variable or constant that substitution would go on to.
bool TakenAsRead(const std::string& text, const LeafMemo& memo, char dot, char comma);

template <typename F>
struct AtScopeExit {
  F Leave;
  ~AtScopeExit() { Leave(); }
};
template <typename F>
AtScopeExit(F) -> AtScopeExit<F>;
