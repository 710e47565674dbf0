#include "ui/app/MainForm.h"

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
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include "ui/app/AboutBox.h"
#include "ui/app/Icons.h"
#include "ui/app/WindowLayout.h"
#include "ui/platform/Prompts.h"
#include "ui/platform/ScreenMetrics.h"
#include "ui/shell/AppInfo.h"
#include "ui/shell/ChildForm.h"
#include "ui/shell/FieldHabits.h"
#include "ui/shell/MenuKeys.h"

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

ChildKind KindOf(const QMdiSubWindow* window) {
  if (!window) return ChildKind::None;
  const QByteArray name = window->objectName().toLatin1();
  return KindOfName(std::string_view(name.constData(), size_t(name.size())));
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
    button->setFont(DialogFont());
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
