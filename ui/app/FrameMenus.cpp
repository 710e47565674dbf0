// The frame's menu bar shows the active child's own menus (or its own without a child), and the
// "Fenster" menu lists the open children.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include "ui/app/Icons.h"
#include "ui/app/MainForm.h"
#include "ui/shell/ChildForm.h"

namespace {

// Menu items that carry a picture, wherever they appear.
const std::pair<const char*, const char*> kMenuIcons[] = {
    {"FileNewItem", "new"},
    {"FileOpenItem", "open"},
    {"Speichern", "save"},
    {"Druckereinstellungen1", "print"},
    {"FileExitItem", "exit"},
    {"Funktionsgrapherstellen1", "draw"},
    {"Graphenspeichernunter1", "save"},
    {"Graphendrucken1", "print"},
    {"Wertetabelleanzeigen1", "table"},
    {"HelpAboutItem", "app"},
};

void DecorateMenus(const QMenuBar& bar) {
  for (const auto& [name, icon] : kMenuIcons)
    for (QAction* action : bar.findChildren<QAction*>(name))
      if (action->icon().isNull()) action->setIcon(SvgIcon(icon));
}

}  // namespace

QMdiSubWindow* TMainForm::MenuSource() const {
  if (QMdiSubWindow* current = mdiArea_->currentSubWindow()) return current;
  const QList<QMdiSubWindow*> recent = mdiArea_->subWindowList(QMdiArea::ActivationHistoryOrder);
  return recent.isEmpty() ? nullptr : recent.back();
}

void TMainForm::ChildrenChanged() {
  Timer2Timer();
  UpdateWindowActions();
  const auto* child = qobject_cast<const ChildForm*>(MenuSource());
  QMenuBar* childMenus = child ? child->MainMenu1() : nullptr;
  ShowMenusOf(childMenus ? childMenus : frameMenus_.Bar);
}

void TMainForm::ShowMenusOf(QMenuBar* bar) {
  if (shownMenus_ == bar) return;
  QMenuBar* shown = menuBar();
  for (QAction* action : shown->actions()) shown->removeAction(action);
  shown->addActions(bar->actions());
  shownMenus_ = bar;
  DecorateMenus(*bar);
  if (auto* windowMenu = bar->findChild<QMenu*>("Window1"))
    connect(windowMenu, &QMenu::aboutToShow, this, &TMainForm::Window1AboutToShow,
            Qt::UniqueConnection);
}

void TMainForm::UpdateWindowActions() {
  const bool any = !mdiArea_->subWindowList().isEmpty();
  for (MenuItem item :
       {MenuItem::WindowCascadeItem, MenuItem::WindowTileItem, MenuItem::WindowTileItem2,
        MenuItem::WindowMinimizeItem, MenuItem::WindowArrangeItem})
    frameMenus_.Item(item)->setEnabled(any);
}

// The open child windows, listed at the end of whichever "&Fenster" menu is shown.
void TMainForm::Window1AboutToShow() {
  auto* menu = qobject_cast<QMenu*>(sender());
  if (!menu) return;
  for (QAction* action : menu->actions())
    if (action->property("windowListEntry").toBool()) delete action;
  const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
  if (windows.isEmpty()) return;
  menu->addSeparator()->setProperty("windowListEntry", true);
  for (int i = 0; i < windows.size(); ++i) {
    QPointer<QMdiSubWindow> window = windows[i];
    QAction* entry = menu->addAction(QString("&%1 %2").arg(i + 1).arg(window->windowTitle()));
    entry->setProperty("windowListEntry", true);
    entry->setCheckable(true);
    entry->setChecked(window == mdiArea_->currentSubWindow());
    connect(entry, &QAction::triggered, this, [this, window] {
      if (window) mdiArea_->setActiveSubWindow(window);
    });
  }
}
