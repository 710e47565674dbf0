#pragma once

#include <cstdint>
#include <string>

// The numbers behind the output options dialog: the JPEG quality and the print-size fields, and the
// placement of the printed picture on the page. The dialog mirrors its controls into
// PrintSizeFields and back, so every rule here can be checked without a window. All arithmetic is
// 32-bit signed with truncating division; a product that leaves 32 bits wraps, as the fields'
// integer type does.
struct PrintSizeFields {
  int32_t PictureWidth = 0, PictureHeight = 0;  // the graph's bitmap, in pixels
  int32_t PaperWidth = 0, PaperHeight = 0;      // the printable page, in printer pixels
  std::string Percent = "100";                  // Edit1, kept as the user typed it
  int32_t Arrows = 100;                         // UpDown1's position, always within 1..500
  std::string Width, Height;                    // Edit2, Edit3
  bool KeepProportions = false;                 // CheckBox1
};

constexpr int32_t kMinPercent = 1;
constexpr int32_t kMaxPercent = 500;

// Quality written to the JPEG file for a slider position of 1..50.
int32_t JpegQualityForSlider(int32_t position);

// The print-mode reset of each showing: the picture's own size at 100 %, proportions free.
void ResetPrintSize(PrintSizeFields& fields);

// The percentage was left: the size follows it (100 % for a text that is no integer).
void PercentLeft(PrintSizeFields& fields);

// The width (height) was left: with proportions kept the other side and the percentage follow;
// a text that is no integer is replaced by the picture's own width (height).
void WidthLeft(PrintSizeFields& fields);
void HeightLeft(PrintSizeFields& fields);

// Fit to the page: stretched over the whole page, or with proportions kept the largest size that
// fits the page on both sides.
void FitToPage(PrintSizeFields& fields);

// Sets the percentage field and the arrows to p; the arrows stop at their range.
void SetPercent(PrintSizeFields& fields, int32_t percent);

struct PrintSize {
  int32_t Width = 0, Height = 0;
};

// The size to print, as the width and height fields stand. Throws ConvertError for a field that is
// no integer.
PrintSize ConfirmedPrintSize(const PrintSizeFields& fields);

struct PagePosition {
  int32_t X = 0, Y = 0;
};

// Top left corner that centres a w x h picture on the page; a picture larger than the page gets a
// negative position, so it is cut equally on both sides.
PagePosition CentreOnPage(int32_t pageWidth, int32_t pageHeight, int32_t width, int32_t height);
