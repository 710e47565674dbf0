#pragma once

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QStyledItemDelegate>

class QLabel;
class QLineEdit;
class QStatusBar;
class QTreeWidget;
class TQelParser;

// While the function is typed, frames the field red and says in the status bar where and why the
// engine refuses it; a blank function, which drawing skips, is not marked. Nothing blocks.
class ExpressionHint : public QObject {
 public:
  ExpressionHint(QLineEdit& edit, QStatusBar& bar, const TQelParser& settings);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Check();

  QLineEdit& edit_;
  QLabel* message_;
  const TQelParser& settings_;
};

// Paints a swatch of the row's colour before the colour's number; each colour's swatch is made
// once.
class ColorSwatchDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  const QIcon& Swatch(uint32_t color) const;

  mutable QHash<uint32_t, QIcon> swatches_;
};

// The editor's hints: the check of the function field and the swatches of the list's colour column.
void AttachEditorHints(QLineEdit& edit, QStatusBar& bar, QTreeWidget& list, int colorColumn,
                       const TQelParser& settings);
