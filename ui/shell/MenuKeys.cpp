#include "ui/shell/MenuKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace {

bool MenuClaims(const QList<QAction*>& actions, const QKeySequence& keys) {
  for (const QAction* action : actions) {
    if (!action->isEnabled()) continue;
    if (action->shortcuts().contains(keys)) return true;
    if (const QMenu* menu = action->menu(); menu && MenuClaims(menu->actions(), keys)) return true;
  }
  return false;
}

}  // namespace

MenuKeysFirst::MenuKeysFirst(QWidget& window, QMenuBar& bar)
    : QObject(&window), window_(&window), bar_(&bar) {
  qApp->installEventFilter(this);
}

bool MenuKeysFirst::Claims(const QMenuBar& bar, const QKeySequence& keys) {
  return MenuClaims(bar.actions(), keys);
}

// A shortcut override that nobody accepts lets Qt's shortcut map have the key, so the menu item
// runs; the control never sees the override and cannot keep the key.
bool MenuKeysFirst::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride || !window_ || !bar_) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget == window_ || widget->window() != window_) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (!Claims(*bar_, QKeySequence(key->keyCombination()))) return false;
  event->ignore();
  return true;
}
