#pragma once

#include <cstddef>
#include <string>

// An expression as a message quotes it: whole up to kMaxQuotedExpression characters, otherwise its
// start and an ellipsis (Windows-1252), so that the box keeps its button on the screen.
inline constexpr std::size_t kMaxQuotedExpression = 160;

inline std::string QuotedExpression(const std::string& expression) {
  if (expression.size() <= kMaxQuotedExpression) return expression;
  return expression.substr(0, kMaxQuotedExpression) + '\x85';
}
