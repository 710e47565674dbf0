#pragma once

#include <QRectF>

class QPainter;
class VectorPicture;

// Draws a recorded picture into `target` (the painter's units) as lines, paths and text, so that a
// printer or a PDF gets it sharp at any resolution: pixel lines through the pixels' centres as the
// vector files draw them, smooth curves at full precision, numbers and legend as real text in the
// core's font and size.
void PaintVectorPicture(QPainter& painter, const VectorPicture& picture, const QRectF& target);
