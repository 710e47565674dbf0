#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graph/Bitmap.h"

// A device-independent copy of a bitmap for printing: the header block (the 40-byte info header and
// its colour table) and the pixel rows, bottom-up, each padded to 4 bytes. True-colour screens give
// a 24-bit block of 44 bytes; palette screens an 8-bit block of 1064 bytes whose colour table is
// the screen's system palette, each pixel taking the index of its nearest palette colour.
struct DibBlock {
  std::string Header;
  std::string Bits;
  int32_t Width = 0;
  int32_t Height = 0;
  int BitsPerPixel = 24;
  uint32_t RowSize = 0;
};

// systemPalette: nullptr on a true-colour screen; otherwise up to 256 colours 0x00BBGGRR.
DibBlock BuildDibBlock(const Bitmap& bitmap, const std::vector<int32_t>* systemPalette = nullptr);

// Bytes of one stored row: width x bits per pixel / 8, rounded up to a multiple of 4.
uint32_t DibRowSize(int32_t width, int bitsPerPixel);

// The 40-byte info header (bottom-up, uncompressed, resolution 0); shared with the BMP file writer.
std::string DibInfoHeader(int32_t width, int32_t height, int bitsPerPixel, uint32_t colorsUsed);

// The 24-bit rows, bottom-up, blue-green-red, padded; shared with the BMP file writer.
std::string DibRows24(const Bitmap& bitmap);

// Row y of those, appended to out.
void AppendDibRow24(const Bitmap& bitmap, int32_t y, std::string& out);
