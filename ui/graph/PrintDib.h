#pragma once

#include <QSize>
#include <QString>
#include <cstdint>

class Bitmap;
class QPainter;
class QPrinter;

// The printable page of a printer in its own pixels.
QSize PrinterPageSize(const QPrinter& printer);

// While a printer writes a PDF file, the job goes to the first free numbered variant of the file's
// name, so no earlier print is replaced; the printer keeps the name it had once the job is over.
class PdfOutput {
 public:
  explicit PdfOutput(QPrinter& printer);
  ~PdfOutput();
  PdfOutput(const PdfOutput&) = delete;
  PdfOutput& operator=(const PdfOutput&) = delete;

  // The file this job writes; empty when the printer is a real one.
  const QString& Path() const { return path_; }

 private:
  QPrinter& printer_;
  QString chosen_;
  QString path_;
};

// Puts a bitmap onto a printer's canvas by way of the device-independent block, so the printed
// colours do not depend on the screen's format. Holds nothing between calls.
class TPrintDIB {
 public:
  // Draws the whole bitmap into the rectangle (x, y, width, height) of the canvas, in the canvas's
  // device units, without lossy compression on the way; the bitmap is left as it was.
  void StretchDrawDIB(QPainter& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                      const Bitmap& bitmap) const;
};
