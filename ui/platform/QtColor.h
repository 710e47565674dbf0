#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <cstdint>

// Colours travel through the core and the project files as 0x00BBGGRR (red in the low byte).
inline QColor ColorFromValue(uint32_t value) {
  return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

inline uint32_t ValueFromColor(const QColor& color) {
  return uint32_t(color.red()) | (uint32_t(color.green()) << 8) | (uint32_t(color.blue()) << 16);
}

// Fills the widget's background with the colour (a colour swatch, a coloured panel).
inline void Paint(QWidget& widget, const QColor& background) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, background);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}
