#pragma once

#include <QObject>
#include <QPointer>

class QKeySequence;
class QMenuBar;
class QWidget;

// Gives the menus' shortcuts precedence over the editing keys of the focused control. Line edits
// and spin boxes claim keys such as Ctrl+E (end of line) or Ctrl+A for themselves before any menu
// sees them; while the focus is inside window, a key that an enabled item of the menu bar shown
// there answers goes to that item instead. Every other key stays with the control.
class MenuKeysFirst : public QObject {
  Q_OBJECT
 public:
  // Watches the whole application's key traffic for the controls of window, whose menus bar shows.
  MenuKeysFirst(QWidget& window, QMenuBar& bar);

  // True when an enabled item of the bar, in any of its menus, answers the keys.
  static bool Claims(const QMenuBar& bar, const QKeySequence& keys);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> window_;
  QPointer<QMenuBar> bar_;
};
