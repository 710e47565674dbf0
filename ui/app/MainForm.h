#pragma once

#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPrinter>
#include <functional>
#include <memory>

#include "engine/QelParser.h"
#include "ui/app/ChildKind.h"
#include "ui/shell/ChildContext.h"
#include "ui/shell/FrameFields.h"
#include "ui/shell/MenuCommands.h"
#include "ui/shell/StandardMenus.h"

class ChildForm;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class RecentProjects;
class QToolBar;
class TAboutBox;

// What the frame needs from its surroundings, replaceable in tests.
struct FrameEnvironment {
  Prompts* prompts = nullptr;
  std::function<int()> ScreenWidth;  // the primary screen's when empty
  std::function<void()> Quit;        // ends the message loop; qApp->quit() when empty
};

// The application's frame: the multi-document area with the child windows, the tool bar whose
// document buttons act on the active child, the menu bar that shows the active child's own menus,
// and the things the windows share, which it hands to each window it creates. How the children's
// requests reach the dialogs is wired in FrameWiring.
class TMainForm : public QMainWindow, public MenuCommands {
  Q_OBJECT
 public:
  explicit TMainForm(FrameEnvironment environment);
  ~TMainForm() override;

  // Opens a project in a new editor window: the name of a new project, or the path of a file.
  using ProjectWindowFactory = std::function<ChildForm*(const QString& name, bool isNew)>;
  void SetProjectWindowFactory(ProjectWindowFactory factory) { factory_ = std::move(factory); }

  // Opening from the desktop (FrameOpening.cpp): files as "Öffnen" opens them, in order; the
  // frame to the front for a second start; the list behind "Zuletzt geöffnet" (none: empty).
  void OpenProjectFiles(const QStringList& paths);
  void BringToFront();
  void SetRecentProjects(RecentProjects* recent);
  void FillRecentProjects(QMenu& menu) override;

  // The about box, created at start-up after the frame.
  TAboutBox* AboutBox = nullptr;

  int NewProjectCounter = 0;

  void FileNew1Execute() override;
  void FileOpen1Execute() override;
  void Druckereinstellungen1Click() override;
  void FileExit1Execute() override;
  void WindowCascadeItemClick() override;
  void WindowTileItemClick() override;
  void WindowTileItem2Click() override;
  void WindowMinimizeItemClick() override;
  void WindowArrangeItemClick() override;
  void Index1Click() override;
  void Lizenzvertrag1Click() override;
  void ZurQelWebseite1Click() override;
  void HelpAbout1Execute() override;
  // A passing line in the status bar; an empty text gives the bar back its usual contents.
  void ShowStatusText(const QString& text);

  TQelParser& QelParser1() { return QelParser1_; }
  FrameFields& Fields() { return fields_; }
  Prompts& prompts() { return *environment_.prompts; }
  QMdiArea* MdiArea() { return mdiArea_; }
  QPrinter& Printer() { return printer_; }
  // What each child window is created with.
  ChildContext Children() { return {*this, mdiArea_, prompts()}; }

  QToolBar* ToolBar2() const { return toolBar_; }
  QAction* ToolButton(const char* name) const;
  QAction* WindowAction(MenuItem item) const { return frameMenus_.Item(item); }
  // The menu bar the frame shows now: its own, or the active child's.
  QMenuBar* ShownMenuBar() const { return shownMenus_; }

 public slots:
  void ToolButton2Click();
  void ToolButton10Click();
  void ToolButton4Click();
  void ToolButton11Click();
  void ToolButton8Click();
  void ToolButton13Click();
  void Timer2Timer();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private slots:
  void ChildrenChanged();
  void Window1AboutToShow();

 private:
  void BuildToolBar();
  void BuildEditActions();
  void CreateProjectWindow(const QString& name, bool isNew);
  void ChildArrives(QMdiSubWindow* child);
  void PlaceNewChild(QMdiSubWindow& child);
  void RememberProject(ChildForm* child, const QString& name, bool isNew);
  bool ShowOpenProject(const QString& path);     // FrameOpening.cpp
  ChildForm* ActiveChild(ChildKind kind) const;  // the active child if it is of that kind
  QMdiSubWindow* MenuSource() const;
  void ShowMenusOf(QMenuBar* bar);
  void UpdateWindowActions();
  void CheckResolution();
  void RequestQuit();

  FrameEnvironment environment_;
  TQelParser QelParser1_;
  FrameFields fields_;
  QPrinter printer_;
  QMdiArea* mdiArea_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  StandardMenus frameMenus_;
  QPointer<QMenuBar> shownMenus_;
  std::array<QAction*, kToolButtonCount> toolButtons_{};
  ProjectWindowFactory factory_;
  bool shownOnce_ = false;
  RecentProjects* recent_ = nullptr;
};
