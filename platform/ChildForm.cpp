#include "platform/ChildForm.h"

#include <QMdiArea>

ChildForm::ChildForm(QMdiArea* area, const QString& baseName) {
  setObjectName(FreeName(area, baseName));
  setAttribute(Qt::WA_DeleteOnClose);
  area->addSubWindow(this);
}

QString ChildForm::FreeName(const QMdiArea* area, const QString& baseName) {
  QStringList taken;
  for (const QMdiSubWindow* window : area->subWindowList()) taken << window->objectName();
  QString name = baseName;
  for (int suffix = 1; taken.contains(name); ++suffix)
    name = baseName + "_" + QString::number(suffix);
  return name;
}
