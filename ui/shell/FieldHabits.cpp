#include "ui/shell/FieldHabits.h"

#include <QEvent>
#include <QFocusEvent>
#include <QWidget>

FieldExits::FieldExits(Exits exits) : exits_(std::move(exits)) {
  for (const auto& [field, exit] : exits_) field->installEventFilter(this);
}

bool FieldExits::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusOut) return false;
  const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
      reason == Qt::MenuBarFocusReason)
    return false;
  for (const auto& [field, exit] : exits_)
    if (field == watched && field->isVisible()) exit();
  return false;
}

void PreviewKeys(QWidget& window, QObject& filter) {
  window.installEventFilter(&filter);
  for (QWidget* control : window.findChildren<QWidget*>()) control->installEventFilter(&filter);
}

QFont DialogFont(int pixels, bool bold) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}
