#include "ui/app/Icons.h"

#include <QHash>
#include <QPainter>
#include <QSvgRenderer>
#include <mutex>

// The pictures are compiled into the application's static library; registering them by hand keeps
// the linker from dropping them.
static void LoadIconResources() {
  Q_INIT_RESOURCE(icons);
}

QPixmap SvgPixmap(const QString& name, QSize size) {
  static std::once_flag loaded;
  std::call_once(loaded, LoadIconResources);
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QSvgRenderer renderer(":/icons/" + name + ".svg");
  QPainter painter(&pixmap);
  renderer.render(&painter);
  return pixmap;
}

// Drawn once each: every new child's menus ask for the same few again.
QIcon SvgIcon(const QString& name) {
  static QHash<QString, QIcon> drawn;
  const auto known = drawn.constFind(name);
  if (known != drawn.constEnd()) return *known;
  QIcon icon;
  for (int side : {16, 32, 48}) icon.addPixmap(SvgPixmap(name, QSize(side, side)));
  return *drawn.insert(name, icon);
}
