#pragma once

#include <string>

// The core's one font, DejaVu Sans, laid out the same on every canvas (see TextLayout.h).

struct TextExtent {
  double Width = 0, Height = 0, Baseline = 0;  // the baseline's distance from the box's top
};

TextExtent MeasureText(const std::string& text, double size);

// The text as a line can show it: bytes that are no UTF-8 and control characters become U+FFFD.
std::string Printable(const std::string& text);

// The text itself when it is at most maxWidth wide, else its longest start that fits with "…".
std::string Ellipsized(const std::string& text, double size, double maxWidth);
