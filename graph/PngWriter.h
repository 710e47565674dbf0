#pragma once

#include <stdexcept>
#include <string>

#include "graph/Bitmap.h"

// The PNG library refused the picture (for instance an empty bitmap); the text is the library's.
class PngError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A lossless PNG (no alpha) of the bitmap's pixels and size: 8-bit indexed colour when the bitmap
// holds at most 256 colours, 8-bit RGB otherwise.
std::string EncodePng(const Bitmap& bitmap);

// Encodes, then writes atomically; throws PngError or FileCreateError.
void WritePngFile(const std::string& path, const Bitmap& bitmap);
