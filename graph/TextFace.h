#pragma once

#include <cairo.h>

#include <string>

#include "graph/Canvas.h"

// The core's one font, DejaVu Sans through fontconfig, laid out by Pango without hinting so that a
// line measures the same on every surface and at every scale.

struct TextExtent {
  double Width = 0, Height = 0, Baseline = 0;  // the baseline's distance from the box's top
};

TextExtent MeasureText(const std::string& text, double size);

// The text as a line can show it: bytes that are no UTF-8 and control characters become U+FFFD.
std::string Printable(const std::string& text);

// The text itself when it is at most maxWidth wide, else its longest start that fits with "…".
std::string Ellipsized(const std::string& text, double size, double maxWidth);

// Shows the line at its position in the context's current source.
void ShowText(cairo_t* cr, const TextLine& line);
