#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QPixmap>

// A button the style draws as a button has a frame: its left edge differs from the dialog behind
// it. A flat button shows its caption only.
inline bool DrawnAsButton(QAbstractButton& button) {
  const QImage image = button.grab().toImage();
  const QColor behind = button.palette().color(QPalette::Window);
  for (int x = 0; x < 3; ++x)
    if (image.pixelColor(x, image.height() / 2) != behind) return true;
  return false;
}
