#include "ui/project/EditorHints.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QStatusBar>
#include <QTreeWidget>

#include "engine/ExpressionCheck.h"
#include "engine/QelParser.h"
#include "platform/Conversions.h"
#include "ui/platform/QtColor.h"
#include "ui/platform/Windows1252Text.h"

namespace {

constexpr const char* kRefusedFrame = "QLineEdit { border: 2px solid rgb(204, 0, 0); }";
const QSize kSwatchSize(10, 10);

bool IsBlank(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) > ' ') return false;
  }
  return true;
}

}  // namespace

ExpressionHint::ExpressionHint(QLineEdit& edit, QStatusBar& bar, const TQelParser& settings)
    : QObject(&edit), edit_(edit), message_(new QLabel(&bar)), settings_(settings) {
  message_->setObjectName("ExpressionHint");
  bar.addWidget(message_, 1);
  connect(&edit, &QLineEdit::textChanged, this, &ExpressionHint::Check);
  edit.installEventFilter(this);
  Check();
}

bool ExpressionHint::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show || event->type() == QEvent::Hide) Check();
  return QObject::eventFilter(watched, event);
}

void ExpressionHint::Check() {
  const std::string text = ToWindows1252(edit_.text());
  const bool shown = edit_.isVisibleTo(edit_.window()) && !IsBlank(text);
  const std::string hint = shown ? VerdictText(CheckExpression(text, settings_)) : std::string();
  message_->setText(FromWindows1252(hint));
  edit_.setStyleSheet(hint.empty() ? QString() : QString(kRefusedFrame));
}

const QIcon& ColorSwatchDelegate::Swatch(uint32_t color) const {
  const auto known = swatches_.constFind(color);
  if (known != swatches_.constEnd()) return *known;
  QPixmap swatch(kSwatchSize);
  swatch.fill(ColorFromValue(color));
  QPainter painter(&swatch);
  painter.setPen(Qt::black);
  painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  painter.end();
  return *swatches_.insert(color, QIcon(swatch));
}

void ColorSwatchDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (option->text.isEmpty()) return;
  option->icon = Swatch(static_cast<uint32_t>(LeadingInt(ToWindows1252(option->text))));
  option->decorationSize = kSwatchSize;
  option->features |= QStyleOptionViewItem::HasDecoration;
}

void AttachEditorHints(QLineEdit& edit, QStatusBar& bar, QTreeWidget& list, int colorColumn,
                       const TQelParser& settings) {
  new ExpressionHint(edit, bar, settings);
  list.setItemDelegateForColumn(colorColumn, new ColorSwatchDelegate(&list));
}
