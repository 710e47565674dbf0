#include "ui/shell/DialogHabits.h"

#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

bool HandleDialogKey(int key, const DialogKeys& keys) {
  const std::function<void()>* handler = nullptr;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) handler = &keys.Confirm;
  if (key == Qt::Key_F1) handler = &keys.Help;
  if (key == Qt::Key_Escape) handler = &keys.Cancel;
  if (handler == nullptr || !*handler) return false;
  (*handler)();
  return true;
}

static void Centre(QDialog& dialog) {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    dialog.move(screen->availableGeometry().center() - dialog.rect().center());
}

void ShowCentred(QDialog& dialog) {
  Centre(dialog);
  dialog.show();
}

int ExecCentred(QDialog& dialog) {
  Centre(dialog);
  return dialog.exec();
}

QPushButton* NewDialogButton(QWidget* parent, const QString& caption, const QRect& geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setFocusPolicy(Qt::NoFocus);
  button->setAutoDefault(false);
  button->setGeometry(geometry);
  return button;
}
