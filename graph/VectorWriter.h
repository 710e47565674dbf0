#pragma once

#include <stdexcept>
#include <string>

#include "graph/VectorPicture.h"

// The drawing library could not make the file; the text is its own.
class VectorError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The picture as an SVG document whose user units are the picture's pixels: width and height are
// its size in pixels, shapes lie at their pixel positions, colours are exact.
std::string EncodeSvg(const VectorPicture& picture);

// The picture as a one-page PDF document, the page being the picture at 96 pixels per inch.
std::string EncodePdf(const VectorPicture& picture);

// Encodes, then writes atomically; throw VectorError or FileCreateError.
void WriteSvgFile(const std::string& path, const VectorPicture& picture);
void WritePdfFile(const std::string& path, const VectorPicture& picture);
