#pragma once

#include <QSize>
#include <cstdint>

class Bitmap;
class QPainter;
class QPrinter;

// The printable page of a printer in its own pixels.
QSize PrinterPageSize(const QPrinter& printer);

// Puts a bitmap onto a printer's canvas by way of the device-independent block, so the printed
// colours do not depend on the screen's format. Holds nothing between calls.
class TPrintDIB {
 public:
  // Draws the whole bitmap into the rectangle (x, y, width, height) of the canvas, in the canvas's
  // device units; the bitmap is left as it was.
  void StretchDrawDIB(QPainter& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                      const Bitmap& bitmap) const;
};
