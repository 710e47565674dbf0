#pragma once

#include <string>

#include "graph/Bitmap.h"

// A standard 24-bit bottom-up Windows BMP file of the bitmap's pixels and size.
std::string EncodeBmp(const Bitmap& bitmap);

// Writes the BMP atomically, row by row as it is encoded; throws FileCreateError ("Cannot create
// file <path>") on failure.
void WriteBmpFile(const std::string& path, const Bitmap& bitmap);
