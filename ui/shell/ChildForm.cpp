#include "ui/shell/ChildForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <algorithm>

ChildForm::ChildForm(QMdiArea* area, const QString& baseName) {
  setObjectName(FreeName(area, baseName));
  setAttribute(Qt::WA_DeleteOnClose);
  area->addSubWindow(this);
  KeepCloseKeyToItself();
}

// The sub-window's own "Close" answers the desktop's close keys, which on Linux include Ctrl+W,
// the menu's "Wertetabelle anzeigen": with both live, Qt calls the key ambiguous and runs neither.
// Ctrl+F4 keeps closing the active child.
void ChildForm::KeepCloseKeyToItself() {
  const QList<QKeySequence> closeKeys = QKeySequence::keyBindings(QKeySequence::Close);
  if (!systemMenu() || closeKeys.isEmpty()) return;
  for (QAction* action : systemMenu()->actions()) {
    if (action->shortcuts() != closeKeys) continue;
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
  }
}

QString ChildForm::FreeName(const QMdiArea* area, const QString& baseName) {
  QStringList taken;
  for (const QMdiSubWindow* window : area->subWindowList()) taken << window->objectName();
  QString name = baseName;
  for (int suffix = 1; taken.contains(name); ++suffix)
    name = baseName + "_" + QString::number(suffix);
  return name;
}

bool ChildForm::CloseOlder(QMdiArea& area, const QString& title,
                           const std::function<bool()>& stop) {
  for (qsizetype position = 1;;) {
    if (stop && stop()) return false;
    QCoreApplication::processEvents();
    // The active (topmost) child first.
    QList<QMdiSubWindow*> children = area.subWindowList(QMdiArea::StackingOrder);
    std::reverse(children.begin(), children.end());
    if (position >= children.size()) return true;
    QMdiSubWindow* child = children[position];
    if (child->windowTitle() != title || !child->close()) ++position;
  }
}

bool ChildForm::MayClose() {
  if (!agreed_) agreed_ = AskToClose();
  return agreed_;
}

void ChildForm::closeEvent(QCloseEvent* event) {
  const bool agreed = MayClose();
  agreed_ = false;
  if (!agreed) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}

bool ChildForm::CloseAll(QMdiArea& area) {
  QList<QPointer<ChildForm>> children;
  for (QMdiSubWindow* window : area.subWindowList())
    if (auto* child = qobject_cast<ChildForm*>(window)) children << child;
  bool agreed = true;
  for (const QPointer<ChildForm>& child : children) {
    if (child && !child->MayClose()) {
      agreed = false;
      break;
    }
  }
  for (const QPointer<ChildForm>& child : children) {
    if (!child) continue;
    if (!agreed) child->ForgetAgreement();
    if (agreed && !child->close()) agreed = false;
  }
  return agreed && area.subWindowList().isEmpty();
}
