#pragma once

#include <QFont>
#include <QObject>
#include <functional>
#include <utility>
#include <vector>

class QWidget;

// Runs a field's handler when the user leaves the field for another control of the same window:
// not when the window loses the activation, a menu or popup opens, or the field goes out of sight
// with its panel. The handlers see the field as the user left it. The window holds it as a member,
// so that it is gone before the window's fields lose the focus for being freed.
class FieldExits : public QObject {
 public:
  using Exits = std::vector<std::pair<QWidget*, std::function<void()>>>;
  explicit FieldExits(Exits exits);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Exits exits_;
};

// Key preview: filter sees every event of the window and of each of its controls before the
// control itself does.
void PreviewKeys(QWidget& window, QObject& filter);

// The font that the windows' fixed layouts were made for: close to the classic desktop dialog font
// in its metrics.
QFont DialogFont(int pixels = 11, bool bold = false);
