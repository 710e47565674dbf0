#include "ui/shell/UpDownArrows.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The arrows never take the focus, so the dialog's edit keeps it while they are pressed.
QToolButton* Arrow(Qt::ArrowType type, QWidget* parent) {
  auto* arrow = new QToolButton(parent);
  arrow->setArrowType(type);
  arrow->setFocusPolicy(Qt::NoFocus);
  arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  return arrow;
}

}  // namespace

UpDownArrows::UpDownArrows(QWidget* parent, int32_t min, int32_t max, int32_t position)
    : QWidget(parent),
      Up(Arrow(Qt::UpArrow, this)),
      Down(Arrow(Qt::DownArrow, this)),
      min_(min),
      max_(max),
      position_(position) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Up);
  layout->addWidget(Down);
  connect(Up, &QToolButton::clicked, this, [this] { Step(1); });
  connect(Down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDownArrows::SetPosition(int32_t position) {
  position_ = std::clamp(position, min_, max_);
}

void UpDownArrows::Step(int32_t delta) {
  SetPosition(position_ + delta);
  emit Click();
}
