#pragma once

#include <stdexcept>
#include <string>

#include "graph/Bitmap.h"

// The JPEG library refused the picture (for instance an empty bitmap); the text is the library's.
class JpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A baseline colour JPEG of the whole bitmap: RGB input with three components, the library's
// defaults, and the quality with its tables limited to baseline values.
std::string EncodeJpeg(const Bitmap& bitmap, int quality);

// Writes the JPEG atomically, scanline by scanline as it is compressed; throws JpegError or
// FileCreateError.
void WriteJpegFile(const std::string& path, const Bitmap& bitmap, int quality);
