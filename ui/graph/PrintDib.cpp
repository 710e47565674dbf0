#include "ui/graph/PrintDib.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <filesystem>

#include "graph/Bitmap.h"
#include "graph/DibBlock.h"
#include "platform/FreeFileName.h"
#include "ui/platform/PathText.h"

QSize PrinterPageSize(const QPrinter& printer) {
  return {printer.width(), printer.height()};
}

PdfOutput::PdfOutput(QPrinter& printer) : printer_(printer), chosen_(printer.outputFileName()) {
  if (printer.outputFormat() != QPrinter::PdfFormat || chosen_.isEmpty()) return;
  const std::string free = FreeFileName(PathString(chosen_), [](const std::string& name) {
    std::error_code unknown;
    return std::filesystem::exists(name, unknown);
  });
  path_ = PathString(free);
  printer.setOutputFileName(path_);
}

PdfOutput::~PdfOutput() {
  if (!path_.isEmpty()) printer_.setOutputFileName(chosen_);
}

// The screens this runs on are true-colour, so the block is always the 24-bit one.
void TPrintDIB::StretchDrawDIB(QPainter& canvas, int32_t x, int32_t y, int32_t width,
                               int32_t height, const Bitmap& bitmap) const {
  const DibBlock block = BuildDibBlock(bitmap);
  if (block.Width <= 0 || block.Height <= 0) return;
  // The rows are stored bottom-up; the image view reads them top-down, so it is turned over once.
  const QImage bottomUp(reinterpret_cast<const uchar*>(block.Bits.data()), block.Width,
                        block.Height, static_cast<qsizetype>(block.RowSize), QImage::Format_BGR888);
  // Without the hint a PDF printer stores the picture as JPEG, which smears its one-pixel lines.
  canvas.save();
  canvas.setRenderHint(QPainter::LosslessImageRendering);
  canvas.drawImage(QRect(x, y, width, height), bottomUp.mirrored(false, true));
  canvas.restore();
}
