#pragma once

#include <QWidget>
#include <cstdint>

class QToolButton;

// A bare pair of up and down arrows holding a bounded position (no wrap). It is not tied to an
// edit: the dialog decides what its edit shows when Click is reported.
class UpDownArrows : public QWidget {
  Q_OBJECT
 public:
  UpDownArrows(QWidget* parent, int32_t min, int32_t max, int32_t position);

  int32_t Position() const { return position_; }
  void SetPosition(int32_t position);  // clamped to the bounds
  // One arrow press: moves the position by delta within the bounds and reports Click.
  void Step(int32_t delta);

  QToolButton* Up;
  QToolButton* Down;

 signals:
  void Click();

 private:
  int32_t min_, max_, position_;
};
