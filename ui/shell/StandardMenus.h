#pragma once

#include <QString>
#include <functional>
#include <map>
#include <vector>

class ChildForm;
class MenuCommands;
struct ChildContext;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The four menus every window of the application shows: "&Datei", "&Graph", "&Fenster" and "&?",
// with their captions, shortcuts, separators and hints. The windows differ only in which document
// items are their own, a few captions, an extra separator, the F1 topic and the editor's
// "Funktionsyntax" item; everything else forwards to the frame.
//
// A child window builds its menu in its constructor and hands the bar to the frame:
//
//   menus_ = StandardMenus::ForChild(*this, frame, {
//       .ContextHelpTopic = "Funktionsgraphen anzeigen",
//       .Own = {{MenuItem::Graphenspeichernunter1, [this] { Graphenspeichernunter1Click(); }},
//               {MenuItem::Graphendrucken1, [this] { Graphendrucken1Click(); }}},
//       .Captions = {{MenuItem::Wertetabelleanzeigen1, "Wertetabelle anzeigen"}}});
//   QMenuBar* MainMenu1() const override { return menus_.Bar; }
//
// Items of the window's own that are not listed in Own are disabled; "S&chließen" closes the
// window unless Own says otherwise. An extra menu (the editor's "Fun&ktion") goes in with
// menus_.Bar->insertMenu(menus_.Graph->menuAction(), menu). The bar stays hidden inside the
// child: the frame shows its menus in its own menu bar while the child is active.
enum class MenuItem {
  FileNewItem,
  FileOpenItem,
  FileCloseItem,
  Speichern,
  Speichernunter,
  Druckereinstellungen1,
  FileExitItem,
  Funktionsgrapherstellen1,
  Graphenspeichernunter1,
  Graphendrucken1,
  Wertetabelleanzeigen1,
  Wertetabellespeichernunter1,
  WindowCascadeItem,
  WindowTileItem,
  WindowTileItem2,
  WindowMinimizeItem,
  WindowArrangeItem,
  Index1,
  Kontexthilfe1,
  Funktionsyntax1,
  Lizenzvertrag1,
  ZurQelWebseite1,
  HelpAboutItem,
};

struct ChildMenuSpec {
  QString ContextHelpTopic = {};  // "Kontexthilfe" (F1)
  QString SyntaxHelpTopic = {};   // not empty: adds "Funktionsyntax" after "Kontexthilfe"
  std::map<MenuItem, std::function<void()>> Own = {};
  std::map<MenuItem, QString> Captions = {};  // where this window's caption differs
  std::vector<MenuItem> ExtraSeparatorsAfter = {};
};

struct StandardMenus {
  QMenuBar* Bar = nullptr;
  QMenu* Datei = nullptr;
  QMenu* ZuletztGeoeffnet = nullptr;  // "Zuletzt geöffnet", filled by the frame when it opens
  QMenu* Graph = nullptr;
  QMenu* Fenster = nullptr;
  QMenu* Hilfe = nullptr;
  std::map<MenuItem, QAction*> Items;

  QAction* Item(MenuItem item) const;

  static StandardMenus ForChild(ChildForm& child, const ChildContext& context,
                                const ChildMenuSpec& spec);
  // The frame's own menu: its document items do nothing, "Index" answers F1.
  static StandardMenus ForFrame(QWidget& window, MenuCommands& frame);
};

// Splits a "Short|Long" hint onto an action: the tooltip shows the short part, the status bar the
// long one; a hint without a bar is both.
void SetHint(QAction& action, const QString& hint);
