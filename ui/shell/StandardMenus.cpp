#include "ui/shell/StandardMenus.h"

#include <QMenu>
#include <QMenuBar>

#include "ui/platform/Prompts.h"
#include "ui/shell/ChildContext.h"
#include "ui/shell/ChildForm.h"
#include "ui/shell/MenuCommands.h"

namespace {

struct ItemDef {
  MenuItem Item;
  const char* Name;
  const char* Caption;
  const char* Shortcut;
  const char* Hint;
  bool SeparatorAfter;
};

using M = MenuItem;

const ItemDef kDatei[] = {
    {M::FileNewItem, "FileNewItem", "&Neu", "Ctrl+N", "New|Create a new file", false},
    {M::FileOpenItem, "FileOpenItem", "Ö&ffnen", "Ctrl+O", "Open|Open a file", false},
    {M::FileCloseItem, "FileCloseItem", "S&chließen", "", "Close|Close current file", true},
    {M::Speichern, "Speichern", "&Speichern", "Ctrl+S", "Save|Save current file", false},
    {M::Speichernunter, "Speichernunter", "Speichern &unter ...", "",
     "Save As|Save current file with different name", true},
    {M::Druckereinstellungen1, "Druckereinstellungen1", "&Druckereinstellungen", "", "", true},
    {M::FileExitItem, "FileExitItem", "&Beenden", "", "Exit|Exit application", false},
};

const ItemDef kGraph[] = {
    {M::Funktionsgrapherstellen1, "Funktionsgrapherstellen1", "Graphen &erstellen", "Ctrl+E", "",
     false},
    {M::Graphenspeichernunter1, "Graphenspeichernunter1", "Graphen &speichern unter...", "", "",
     false},
    {M::Graphendrucken1, "Graphendrucken1", "Graphen &drucken", "", "", true},
    {M::Wertetabelleanzeigen1, "Wertetabelleanzeigen1", "Wertetabelle anzeigen", "Ctrl+W", "",
     false},
    {M::Wertetabellespeichernunter1, "Wertetabellespeichernunter1",
     "Wertetabelle s&peichern unter...", "", "", false},
};

const ItemDef kFenster[] = {
    {M::WindowCascadeItem, "WindowCascadeItem", "Ge&staffelt", "", "Cascade", false},
    {M::WindowTileItem, "WindowTileItem", "Ü&bereinander", "", "Tile Horizontally", false},
    {M::WindowTileItem2, "WindowTileItem2", "&Nebeneinander", "", "Tile Vertically", true},
    {M::WindowMinimizeItem, "WindowMinimizeItem", "Alle &minimieren", "", "Minimize All", false},
    {M::WindowArrangeItem, "WindowArrangeItem", "Alle an&ordnen", "", "Arrange All", false},
};

const ItemDef kHilfe[] = {
    {M::Index1, "Index1", "Index", "", "", false},
    {M::Kontexthilfe1, "Kontexthilfe1", "Kontexthilfe", "F1", "", false},
    {M::Funktionsyntax1, "Funktionsyntax1", "Funktionsyntax", "", "", false},
    {M::Lizenzvertrag1, "Lizenzvertrag1", "Lizenzvertrag", "", "", true},
    {M::ZurQelWebseite1, "ZurQelWebseite1", "Zur Qel &Webseite", "", "", true},
    {M::HelpAboutItem, "HelpAboutItem", "Ü&ber Qel Graphics", "",
     "About|Shows the version, the rights holder and the web site", false},
};

// What each shared item asks of the frame; the document items are not here.
std::map<MenuItem, std::function<void()>> FrameHandlers(MenuCommands& f) {
  return {
      {M::FileNewItem, [&f] { f.FileNew1Execute(); }},
      {M::FileOpenItem, [&f] { f.FileOpen1Execute(); }},
      {M::Druckereinstellungen1, [&f] { f.Druckereinstellungen1Click(); }},
      {M::FileExitItem, [&f] { f.FileExit1Execute(); }},
      {M::WindowCascadeItem, [&f] { f.WindowCascadeItemClick(); }},
      {M::WindowTileItem, [&f] { f.WindowTileItemClick(); }},
      {M::WindowTileItem2, [&f] { f.WindowTileItem2Click(); }},
      {M::WindowMinimizeItem, [&f] { f.WindowMinimizeItemClick(); }},
      {M::WindowArrangeItem, [&f] { f.WindowArrangeItemClick(); }},
      {M::Index1, [&f] { f.Index1Click(); }},
      {M::Lizenzvertrag1, [&f] { f.Lizenzvertrag1Click(); }},
      {M::ZurQelWebseite1, [&f] { f.ZurQelWebseite1Click(); }},
      {M::HelpAboutItem, [&f] { f.HelpAbout1Execute(); }},
  };
}

std::function<void(QMenu&)> RecentFiller(MenuCommands& frame) {
  return [&frame](QMenu& menu) { frame.FillRecentProjects(menu); };
}

// Everything that makes one window's menu differ from the next.
struct Variant {
  std::map<MenuItem, std::function<void()>> Handlers;
  std::map<MenuItem, QString> Captions;
  std::map<MenuItem, QString> Shortcuts;
  std::vector<MenuItem> Omitted;
  std::vector<MenuItem> ExtraSeparatorsAfter;
  std::function<void(QMenu&)> FillRecent;
};

template <typename T>
bool Contains(const std::vector<T>& list, const T& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

template <size_t N>
QMenu* AddMenu(StandardMenus& menus, const char* name, const char* caption, const char* hint,
               const ItemDef (&defs)[N], const Variant& variant) {
  QMenu* menu = menus.Bar->addMenu(QString::fromUtf8(caption));
  menu->setObjectName(name);
  if (*hint) SetHint(*menu->menuAction(), QString::fromUtf8(hint));
  for (const ItemDef& def : defs) {
    if (Contains(variant.Omitted, def.Item)) continue;
    auto caption = variant.Captions.find(def.Item);
    QAction* action = menu->addAction(
        caption != variant.Captions.end() ? caption->second : QString::fromUtf8(def.Caption));
    action->setObjectName(def.Name);
    auto shortcut = variant.Shortcuts.find(def.Item);
    action->setShortcut(QKeySequence(shortcut != variant.Shortcuts.end()
                                         ? shortcut->second
                                         : QString::fromLatin1(def.Shortcut)));
    if (*def.Hint) SetHint(*action, QString::fromUtf8(def.Hint));
    auto handler = variant.Handlers.find(def.Item);
    if (handler != variant.Handlers.end())
      QObject::connect(action, &QAction::triggered, menu, [run = handler->second] { run(); });
    else
      action->setEnabled(false);
    menus.Items[def.Item] = action;
    if (def.SeparatorAfter || Contains(variant.ExtraSeparatorsAfter, def.Item))
      menu->addSeparator();
  }
  return menu;
}

// "Zuletzt geöffnet" just before "&Beenden"; the frame fills it each time it opens.
void AddRecentProjects(StandardMenus& menus, const std::function<void(QMenu&)>& fill) {
  menus.ZuletztGeoeffnet = new QMenu(QStringLiteral("&Zuletzt geöffnet"), menus.Datei);
  menus.ZuletztGeoeffnet->setObjectName("ZuletztGeoeffnet1");
  menus.Datei->insertMenu(menus.Item(M::FileExitItem), menus.ZuletztGeoeffnet);
  QObject::connect(menus.ZuletztGeoeffnet, &QMenu::aboutToShow, menus.ZuletztGeoeffnet,
                   [menu = menus.ZuletztGeoeffnet, fill] { fill(*menu); });
}

StandardMenus Build(QWidget& owner, const Variant& variant) {
  StandardMenus menus;
  menus.Bar = new QMenuBar(&owner);
  menus.Bar->setObjectName("MainMenu1");
  // Only the frame's bar is ever shown; this one merely holds the menus, also on desktops that
  // would export every menu bar to a global menu.
  menus.Bar->setNativeMenuBar(false);
  menus.Bar->hide();
  menus.Datei = AddMenu(menus, "File1", "&Datei", "File related commands", kDatei, variant);
  AddRecentProjects(menus, variant.FillRecent);
  menus.Graph = AddMenu(menus, "Projekt1", "&Graph", "", kGraph, variant);
  menus.Fenster =
      AddMenu(menus, "Window1", "&Fenster", "Window related commands", kFenster, variant);
  menus.Hilfe = AddMenu(menus, "Help1", "&?", "Help topics", kHilfe, variant);
  return menus;
}

}  // namespace

QAction* StandardMenus::Item(MenuItem item) const {
  auto found = Items.find(item);
  return found == Items.end() ? nullptr : found->second;
}

StandardMenus StandardMenus::ForChild(ChildForm& child, const ChildContext& context,
                                      const ChildMenuSpec& spec) {
  Variant variant{FrameHandlers(context.Menus), spec.Captions, {}, {}, spec.ExtraSeparatorsAfter,
                  RecentFiller(context.Menus)};
  Prompts& questions = context.Questions;
  variant.Handlers[M::FileCloseItem] = [&child] { child.close(); };
  variant.Handlers[M::Kontexthilfe1] = [&questions, topic = spec.ContextHelpTopic] {
    questions.ShowHelp(topic);
  };
  if (spec.SyntaxHelpTopic.isEmpty())
    variant.Omitted.push_back(M::Funktionsyntax1);
  else
    variant.Handlers[M::Funktionsyntax1] = [&questions, topic = spec.SyntaxHelpTopic] {
      questions.ShowHelp(topic);
    };
  for (const auto& [item, handler] : spec.Own) variant.Handlers[item] = handler;
  return Build(child, variant);
}

StandardMenus StandardMenus::ForFrame(QWidget& window, MenuCommands& frame) {
  Variant variant{FrameHandlers(frame), {}, {}, {}, {}, RecentFiller(frame)};
  variant.Captions = {{M::Wertetabelleanzeigen1, "&Wertetabelle anzeigen"},
                      {M::ZurQelWebseite1, "Zur Qel Webseite"}};
  variant.Shortcuts = {{M::Index1, "F1"}};
  variant.Omitted = {M::Kontexthilfe1, M::Funktionsyntax1};
  return Build(window, variant);
}

void SetHint(QAction& action, const QString& hint) {
  const qsizetype bar = hint.indexOf('|');
  action.setToolTip(bar < 0 ? hint : hint.left(bar));
  action.setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}
