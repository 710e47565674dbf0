#pragma once

#include <cstddef>
#include <string>

class TQelParser;

// What the editor says about a function text while it is typed.
struct ExpressionVerdict {
  // Whether the engine builds the text (CreateTree decides, nothing else).
  bool Builds = false;
  // The character of the typed text the reason points at, counted from 1; 0 when it builds.
  size_t Position = 0;
  // Why the text is refused, in German (Windows-1252); empty when it builds.
  std::string Reason;
};

// Asks CreateTree of an engine with the settings of `settings` (separators, conversion) over a
// tree of its own, so that the shared tree is left alone; when it refuses, explains why and where
// with ExplainExpression.
ExpressionVerdict CheckExpression(const std::string& text, const TQelParser& settings);

// The explanation alone: what reading the text as the engine does finds wrong first. Builds is
// true when it finds nothing, which need not be CreateTree's answer; CheckExpression falls back
// to a general reason then.
ExpressionVerdict ExplainExpression(const std::string& text, const TQelParser& settings);

// "Zeichen 3: " and the reason, as the editor's status bar shows it; empty when the text builds.
std::string VerdictText(const ExpressionVerdict& verdict);
