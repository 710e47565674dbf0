#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "graph/Canvas.h"
#include "graph/TextFace.h"

// The text layout itself, DejaVu Sans through fontconfig laid out by Pango without hinting so that
// a line measures the same on every surface and at every scale. It lives in the vector module with
// cairo, so that a program that draws no text never loads either; the rest of the core reaches it
// through TextFace.h.

TextExtent LayOutText(const std::string& text, double size);

// Shows the line at its position in the context's current source.
void ShowText(cairo_t* cr, const TextLine& line);

// The line's coverage of the picture's pixels [left, left + width) x [top, top + height), one byte
// a pixel, rows `stride` bytes apart.
void RenderTextMask(const TextLine& line, uint8_t* mask, size_t stride, int32_t width,
                    int32_t height, int32_t left, int32_t top);
