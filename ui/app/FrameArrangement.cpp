// The frame's window arrangement: "Überlappend", "Untereinander", "Nebeneinander", "Alle
// verkleinern", "Symbole anordnen", and where a new child is placed.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QTimer>

#include "ui/app/MainForm.h"
#include "ui/app/WindowLayout.h"
#include "ui/shell/ChildForm.h"

namespace {

QList<QMdiSubWindow*> Restored(const QList<QMdiSubWindow*>& windows) {
  QList<QMdiSubWindow*> result;
  for (QMdiSubWindow* window : windows)
    if (!window->isMinimized()) result << window;
  return result;
}

// Places the area's windows that are not minimised at the rectangles layout gives for their count.
void Tile(QMdiArea& area, std::vector<TileRect> (*layout)(int count, int width, int height)) {
  const QList<QMdiSubWindow*> windows = Restored(area.subWindowList());
  const QSize size = area.viewport()->size();
  const std::vector<TileRect> rects = layout(int(windows.size()), size.width(), size.height());
  for (int i = 0; i < windows.size(); ++i) {
    windows[i]->showNormal();
    windows[i]->setGeometry(rects[i].Left, rects[i].Top, rects[i].Width, rects[i].Height);
  }
}

// Cascaded windows lie one title bar apart.
int CascadeStep(const QMdiSubWindow& window) {
  return window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window) + 2;
}

}  // namespace

// Each window keeps its size, so none shrinks to a bare title bar.
void TMainForm::WindowCascadeItemClick() {
  const QList<QMdiSubWindow*> windows = Restored(mdiArea_->subWindowList(QMdiArea::StackingOrder));
  const QSize area = mdiArea_->viewport()->size();
  for (int i = 0; i < windows.size(); ++i) {
    QMdiSubWindow* window = windows[i];
    window->showNormal();
    const TileRect place = CascadePosition(i, window->width(), window->height(), area.width(),
                                           area.height(), CascadeStep(*window));
    window->move(place.Left, place.Top);
  }
}

void TMainForm::WindowTileItemClick() {
  Tile(*mdiArea_, TileAbove);
}

void TMainForm::WindowTileItem2Click() {
  Tile(*mdiArea_, TileSideBySide);
}

void TMainForm::WindowMinimizeItemClick() {
  const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->showMinimized();
}

void TMainForm::WindowArrangeItemClick() {
  QList<QMdiSubWindow*> icons;
  for (QMdiSubWindow* window : mdiArea_->subWindowList())
    if (window->isMinimized()) icons << window;
  if (icons.isEmpty()) return;
  const QSize icon = icons.front()->size();
  const QSize area = mdiArea_->viewport()->size();
  const std::vector<TileRect> rects =
      LineUpIcons(int(icons.size()), icon.width(), icon.height(), area.width(), area.height());
  for (int i = 0; i < icons.size(); ++i) icons[i]->move(rects[i].Left, rects[i].Top);
}

// A new child never joins a maximized one half-maximized: the others are restored first. It is
// placed once its maker has given it its size, which happens before the next pass of the loop.
void TMainForm::ChildArrives(QMdiSubWindow* child) {
  for (QMdiSubWindow* other : mdiArea_->subWindowList())
    if (other != child && other->isMaximized()) other->showNormal();
  QTimer::singleShot(0, child, [this, child] {
    auto* form = qobject_cast<ChildForm*>(child);
    if (form)
      connect(form, &ChildForm::StatusText, this, &TMainForm::ShowStatusText, Qt::UniqueConnection);
    if (!form || !form->Placed()) PlaceNewChild(*child);
  });
}

void TMainForm::PlaceNewChild(QMdiSubWindow& child) {
  if (child.isMaximized() || child.isMinimized()) return;
  QList<QMdiSubWindow*> others = Restored(mdiArea_->subWindowList());
  others.removeAll(&child);
  const QSize area = mdiArea_->viewport()->size();
  const TileRect place = CascadePosition(int(others.size()), child.width(), child.height(),
                                         area.width(), area.height(), CascadeStep(child));
  child.move(place.Left, place.Top);
}
