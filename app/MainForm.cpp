#include "app/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrinterInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include "app/AboutBox.h"
#include "app/Icons.h"
#include "app/WindowLayout.h"
#include "graph/ProgressDialog.h"
#include "platform/Prompts.h"
#include "platform/ScreenMetrics.h"
#include "project/ProjectWindow.h"
#include "shell/AppInfo.h"
#include "shell/ChildForm.h"
#include "shell/MenuKeys.h"
#include "valuetable/ValueTableOptionsDialog.h"

namespace {

struct ToolButtonDef {
  const char* Name;
  const char* Caption;
  const char* Icon;
  const char* Hint;
  void (TMainForm::*Command)();
  bool SeparatorAfter;
};

// Bar order; the index of each row is its ToolButtonIndex.
const ToolButtonDef kToolButtons[kToolButtonCount] = {
    {"ToolButton9", "&Neu ", "new", "New|Create a new file", &TMainForm::FileNew1Execute, false},
    {"ToolButton1", "&Öffnen", "open", "Open|Open a file", &TMainForm::FileOpen1Execute, false},
    {"ToolButton2", "&Speichern", "save", "Save|Save current file", &TMainForm::ToolButton2Click,
     true},
    {"ToolButton10", "Zeichnen", "draw", "", &TMainForm::ToolButton10Click, false},
    {"ToolButton4", "Wertetabelle", "table", "", &TMainForm::ToolButton4Click, true},
    {"ToolButton11", "Speichern", "save", "", &TMainForm::ToolButton11Click, false},
    {"ToolButton8", "Drucken", "print", "", &TMainForm::ToolButton8Click, true},
    {"ToolButton13", "Beenden", "exit", "", &TMainForm::ToolButton13Click, false},
};

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

ChildKind KindOf(const QMdiSubWindow* window) {
  if (!window) return ChildKind::None;
  const QByteArray name = window->objectName().toLatin1();
  return KindOfName(std::string_view(name.constData(), size_t(name.size())));
}

void DecorateMenus(const QMenuBar& bar) {
  for (const auto& [name, icon] : kMenuIcons)
    for (QAction* action : bar.findChildren<QAction*>(name))
      if (action->icon().isNull()) action->setIcon(SvgIcon(icon));
}

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

// Where no printer is installed, printing writes a PDF file (the printer set-up can change its
// name), so "Drucken" always has somewhere to go.
void UsePdfWithoutPrinter(QPrinter& printer) {
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) return;
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QDir(folder).filePath(QStringLiteral("Qel Graphics.pdf")));
}

}  // namespace

TMainForm::TMainForm(FrameEnvironment environment) : environment_(std::move(environment)) {
  setObjectName("MainForm");
  setWindowTitle(kFrameCaption);
  // The child windows show the application's icon in their title bars.
  QApplication::setWindowIcon(SvgIcon("app"));
  QelParser1_.SetConvertAllColonsAndDots(true);

  mdiArea_ = new QMdiArea(this);
  mdiArea_->setBackground(QColor(128, 128, 128));
  mdiArea_->viewport()->installEventFilter(this);
  // Children may reach past the area (a large graph); scroll bars keep every part reachable.
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea_);
  setAcceptDrops(true);
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &TMainForm::ChildrenChanged);

  BuildToolBar();
  BuildEditActions();
  statusBar()->setFixedHeight(22);
  frameMenus_ = StandardMenus::ForFrame(*this, *this);
  ShowMenusOf(frameMenus_.Bar);
  UpdateWindowActions();
  new MenuKeysFirst(*this, *menuBar());

  // A modal dialog that opens or closes moves the focus to another window.
  connect(qApp, &QGuiApplication::focusWindowChanged, this, &TMainForm::Timer2Timer);

  UsePdfWithoutPrinter(printer_);
  resize(762, 613);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

// The children close while QWidget's destructor runs, after this object's members are gone: they
// must not reach it any more.
TMainForm::~TMainForm() {
  disconnect(qApp, nullptr, this, nullptr);
  mdiArea_->disconnect(this);
  mdiArea_->viewport()->removeEventFilter(this);
}

void TMainForm::BuildToolBar() {
  toolBar_ = addToolBar("ControlBar1");
  toolBar_->setObjectName("ToolBar2");
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setIconSize(QSize(32, 32));
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  toolBar_->setMinimumHeight(64);
  toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
  toolBar_->setStyleSheet(
      "QToolBar#ToolBar2 { border: none; padding-left: 5px; background: qlineargradient(x1:0, y1:0,"
      " x2:0, y2:1, stop:0 #fbfbfd, stop:1 #d9dde6); }"
      "QToolBar#ToolBar2::separator { width: 8px; }");
  for (int i = 0; i < kToolButtonCount; ++i) {
    const ToolButtonDef& def = kToolButtons[i];
    QAction* action = toolBar_->addAction(SvgIcon(def.Icon), QString::fromUtf8(def.Caption));
    action->setObjectName(def.Name);
    if (*def.Hint) SetHint(*action, QString::fromUtf8(def.Hint));
    connect(action, &QAction::triggered, this, def.Command);
    QWidget* button = toolBar_->widgetForAction(action);
    button->setFixedSize(67, 52);
    // Small captions, so that "Wertetabelle" fits under its picture; tool buttons take the
    // application's tool-button font rather than the bar's, so each gets it directly.
    QFont captions("Arial");
    captions.setPixelSize(11);
    button->setFont(captions);
    if (def.SeparatorAfter) toolBar_->addSeparator();
    toolButtons_[i] = action;
  }
  for (int i : {kSpeichern, kZeichnen, kWertetabelle, kSpeichernAls, kDrucken})
    toolButtons_[i]->setEnabled(false);
}

// Cut, copy and paste for whichever edit control has the focus; no menu or button shows them.
void TMainForm::BuildEditActions() {
  const struct {
    const char *Name, *Caption, *Shortcut, *Hint;
    void (*Command)(QLineEdit&);
  } defs[] = {
      {"EditCut1", "Cu&t", "Ctrl+X", "Cut|Cuts the selection and puts it on the Clipboard",
       [](QLineEdit& edit) { edit.cut(); }},
      {"EditCopy1", "&Copy", "Ctrl+C", "Copy|Copies the selection and puts it on the Clipboard",
       [](QLineEdit& edit) { edit.copy(); }},
      {"EditPaste1", "&Paste", "Ctrl+V", "Paste|Inserts Clipboard contents",
       [](QLineEdit& edit) { edit.paste(); }},
  };
  for (const auto& def : defs) {
    auto* action = new QAction(def.Caption, this);
    action->setObjectName(def.Name);
    action->setShortcut(QKeySequence(def.Shortcut));
    SetHint(*action, def.Hint);
    connect(action, &QAction::triggered, this, [command = def.Command] {
      if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) command(*edit);
    });
    addAction(action);
  }
}

QAction* TMainForm::ToolButton(const char* name) const {
  for (QAction* action : toolButtons_)
    if (action->objectName() == name) return action;
  return nullptr;
}

void TMainForm::FileNew1Execute() {
  ++NewProjectCounter;
  CreateProjectWindow("Unbenannt " + QString::number(NewProjectCounter), true);
  if (QMdiSubWindow* active = mdiArea_->currentSubWindow()) active->resize(640, 440);
}

void TMainForm::FileOpen1Execute() {
  FileDialogSpec spec;
  spec.Title = "Projektdatei öffnen";
  spec.Filter = kProjectFilter;
  spec.DefaultExt = kProjectDefaultExt;
  if (const auto choice = prompts().OpenFile(this, spec)) CreateProjectWindow(choice->Path, false);
}

void TMainForm::CreateProjectWindow(const QString& name, bool isNew) {
  if (!factory_ || (!isNew && ShowOpenProject(name))) return;
  ChildForm* child = factory_(name, isNew);
  if (!child) return;
  RememberProject(child, name, isNew);
  child->show();
  mdiArea_->setActiveSubWindow(child);
}

void TMainForm::Druckereinstellungen1Click() {
  prompts().PrinterSetup(this, printer_);
}

// Ends the application as the window's close control does: every child may refuse, so no unsaved
// project is thrown away without its question.
void TMainForm::FileExit1Execute() {
  close();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!ChildForm::CloseAll(*mdiArea_)) {
    event->ignore();
    return;
  }
  event->accept();
  RequestQuit();
}

void TMainForm::RequestQuit() {
  if (environment_.Quit)
    environment_.Quit();
  else
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

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

void TMainForm::Index1Click() {
  prompts().ShowHelp("Indice");
}

void TMainForm::Lizenzvertrag1Click() {
  prompts().ShowHelp("Lizenzvertrag");
}

void TMainForm::ZurQelWebseite1Click() {
  prompts().OpenUrl(QUrl(kWebSite));
}

void TMainForm::HelpAbout1Execute() {
  if (AboutBox) AboutBox->exec();
}

// A cancelled drawing leaves its project in front, whichever child was active before.
void TMainForm::GenerateGraph(TMDIChild& editor) {
  if (!Form3) return;
  const QPointer<QMdiSubWindow> starter = &editor;
  if (Form3->ShowModalFor(editor.Document(), editor.windowTitle(), &editor) != QDialog::Accepted &&
      starter)
    mdiArea_->setActiveSubWindow(starter);
}

void TMainForm::ShowValueTableDialog(TMDIChild& editor) {
  if (Form5) Form5->ShowFor(editor, editor.Document());
}

void TMainForm::ShowStatusText(const QString& text) {
  if (text.isEmpty()) {
    statusBar()->clearMessage();
  } else {
    statusBar()->showMessage(text);
  }
}

ChildForm* TMainForm::ActiveChild(ChildKind kind) const {
  auto* active = qobject_cast<ChildForm*>(mdiArea_->currentSubWindow());
  return active && KindOf(active) == kind ? active : nullptr;
}

void TMainForm::ToolButton2Click() {
  if (ChildForm* editor = ActiveChild(ChildKind::ProjectEditor)) editor->SpeichernClick();
}

void TMainForm::ToolButton10Click() {
  if (ChildForm* editor = ActiveChild(ChildKind::ProjectEditor))
    editor->Funktionsgrapherstellen1Click();
}

void TMainForm::ToolButton4Click() {
  if (ChildForm* editor = ActiveChild(ChildKind::ProjectEditor))
    editor->Wertetabelleanzeigen1Click();
}

void TMainForm::ToolButton11Click() {
  if (ChildForm* graph = ActiveChild(ChildKind::Graph)) graph->Graphenspeichernunter1Click();
  if (ChildForm* table = ActiveChild(ChildKind::ValueTable))
    table->Wertetabellespeichernunter1Click();
}

void TMainForm::ToolButton8Click() {
  if (ChildForm* graph = ActiveChild(ChildKind::Graph)) graph->Graphendrucken1Click();
}

void TMainForm::ToolButton13Click() {
  FileExit1Execute();
}

// Runs on every event that can change the active child's kind: another child activated, a child
// opened or closed, a modal dialog shown or closed. One name test and at most eight enabled-state
// stores, which Qt ignores when nothing changes. Nothing polls, so an idle frame sleeps.
void TMainForm::Timer2Timer() {
  const std::array<bool, kToolButtonCount> states =
      ToolBarStates(KindOf(mdiArea_->currentSubWindow()));
  for (int i = 0; i < kToolButtonCount; ++i) toolButtons_[i]->setEnabled(states[i]);
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  CheckResolution();
}

void TMainForm::CheckResolution() {
  const int width = environment_.ScreenWidth ? environment_.ScreenWidth() : PrimaryScreenWidth();
  if (width >= 800) return;
  const QString text =
      "Für diese Anwendung sollten Sie eine Auflösung von mindestens 800x600 Pixeln verwenden.\n"
      "In der aktuellen Auflösung können einige Teile des Programms nicht korrekt dargestellt "
      "werden.\n\nMöchten Sie die Qel Graphics dennoch starten?";
  if (prompts().Message(this, kMessageCaption, text, {PromptButton::Yes, PromptButton::No},
                        PromptIcon::Exclamation) == PromptButton::No)
    RequestQuit();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  // A child that closes may not have been the active one, so no activation signal tells of it.
  if (watched == mdiArea_->viewport() &&
      (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved))
    QTimer::singleShot(0, this, &TMainForm::ChildrenChanged);
  if (watched == mdiArea_->viewport() && event->type() == QEvent::ChildAdded)
    if (auto* child = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(event)->child()))
      ChildArrives(child);
  return QMainWindow::eventFilter(watched, event);
}

// A new child never joins a maximized one half-maximized: the others are restored first. It is
// placed once its maker has given it its size, which happens before the next pass of the loop.
void TMainForm::ChildArrives(QMdiSubWindow* child) {
  for (QMdiSubWindow* other : mdiArea_->subWindowList())
    if (other != child && other->isMaximized()) other->showNormal();
  QTimer::singleShot(0, child, [this, child] { PlaceNewChild(*child); });
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
