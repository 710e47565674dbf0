#include <gtest/gtest.h>
#include <QAction>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "tests/app/FakeChild.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/ShortcutKeys.h"
#include "ui/app/AboutBox.h"
#include "ui/app/MainForm.h"
#include "ui/shell/AppInfo.h"

namespace {

// Lets deferred deletions and queued updates of the frame run.
void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

QStringList MenuCaptions(const QMenuBar* bar) {
  QStringList captions;
  for (const QAction* action : bar->actions()) captions << action->text();
  return captions;
}

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = std::make_unique<TMainForm>(
        FrameEnvironment{&prompts_, [this] { return screenWidth_; }, [this] { ++quits_; }});
    frame_->SetProjectWindowFactory([this](const QString& name, bool isNew) {
      factoryCalls_ << name + (isNew ? " (neu)" : " (Datei)");
      return new FakeChild(frame_->Children(), "MDIChild", name, calls_);
    });
    frame_->show();
  }
  void TearDown() override {
    frame_.reset();
    Settle();
  }

  FakeChild* AddChild(const QString& baseName, QSize size = {}) {
    auto* child = new FakeChild(frame_->Children(), baseName, baseName, calls_);
    if (size.isValid()) child->resize(size);
    child->show();
    frame_->MdiArea()->setActiveSubWindow(child);
    Settle();
    return child;
  }
  FakeChild* Active() const {
    return qobject_cast<FakeChild*>(frame_->MdiArea()->currentSubWindow());
  }
  std::vector<bool> ToolBarStates() const {
    std::vector<bool> states;
    for (const char* name : {"ToolButton9", "ToolButton1", "ToolButton2", "ToolButton10",
                             "ToolButton4", "ToolButton11", "ToolButton8", "ToolButton13"})
      states.push_back(frame_->ToolButton(name)->isEnabled());
    return states;
  }
  bool WindowActionsEnabled() const {
    bool all = true, any = false;
    for (MenuItem item :
         {MenuItem::WindowCascadeItem, MenuItem::WindowTileItem, MenuItem::WindowTileItem2,
          MenuItem::WindowMinimizeItem, MenuItem::WindowArrangeItem}) {
      all = all && frame_->WindowAction(item)->isEnabled();
      any = any || frame_->WindowAction(item)->isEnabled();
    }
    EXPECT_EQ(all, any) << "the five arrangement actions share one state";
    return all;
  }

  ScriptedPrompts prompts_;
  int screenWidth_ = 1024;
  int quits_ = 0;
  QStringList calls_, factoryCalls_;
  std::unique_ptr<TMainForm> frame_;
};

TEST_F(FrameTest, StartsAsTheFrameWindowWithItsOwnMenuAndToolBar) {
  EXPECT_EQ(frame_->windowTitle(), "Qel Graphics 4.2");
  EXPECT_EQ(frame_->size(), QSize(762, 613));
  EXPECT_EQ(frame_->MdiArea()->background().color(), QColor(128, 128, 128));
  EXPECT_EQ(frame_->Fields().JpegQuality, 60);
  EXPECT_TRUE(frame_->QelParser1().ConvertAllColonsAndDots());
  EXPECT_EQ(MenuCaptions(frame_->ShownMenuBar()),
            (QStringList{"&Datei", "&Graph", "&Fenster", "&?"}));
  EXPECT_EQ(frame_->ToolBar2()->objectName(), "ToolBar2");
  QStringList captions;
  for (QAction* action : frame_->ToolBar2()->actions()) {
    captions << (action->isSeparator() ? "|" : action->text());
    if (!action->isSeparator()) {
      EXPECT_EQ(frame_->ToolBar2()->widgetForAction(action)->size(), QSize(67, 52));
    }
  }
  EXPECT_EQ(captions, (QStringList{"&Neu ", "&Öffnen", "&Speichern", "|", "Zeichnen",
                                   "Wertetabelle", "|", "Speichern", "Drucken", "|", "Beenden"}));
  EXPECT_EQ(frame_->ToolButton("ToolButton9")->toolTip(), "New");
  EXPECT_EQ(frame_->ToolButton("ToolButton9")->statusTip(), "Create a new file");
  EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(FrameTest, ToolBarFollowsTheKindOfTheActiveChild) {
  const std::vector<bool> none = {true, true, false, false, false, false, false, true};
  const std::vector<bool> editor = {true, true, true, true, true, false, false, true};
  const std::vector<bool> graph = {true, true, false, false, false, true, true, true};
  const std::vector<bool> table = {true, true, false, false, false, true, false, true};
  frame_->Timer2Timer();
  EXPECT_EQ(ToolBarStates(), none) << "no child window";
  const struct {
    const char* BaseName;
    const char* ExpectedName;
    std::vector<bool> States;
  } cases[] = {
      {"MDIChild", "MDIChild", editor},   {"Graph", "Graph", graph},   {"Form4", "Form4", table},
      {"MDIChild", "MDIChild_1", editor}, {"Graph", "Graph_1", graph}, {"Notiz", "Notiz", none},
      {"mdichild", "mdichild", none},     {"Form4", "Form4_1", table},
  };
  for (const auto& c : cases) {
    FakeChild* child = AddChild(c.BaseName);
    EXPECT_EQ(child->objectName(), c.ExpectedName);
    frame_->Timer2Timer();
    EXPECT_EQ(ToolBarStates(), c.States) << c.ExpectedName;
  }
  frame_->MdiArea()->closeAllSubWindows();
  Settle();
  frame_->Timer2Timer();
  EXPECT_EQ(ToolBarStates(), none) << "after the last child closed";
}

// Every row of the tool bar's table holds through the events that can change the active child,
// without the update being called and without a timer polling for it.
TEST_F(FrameTest, ToolBarFollowsEveryRowThroughTheEventsThatChangeTheActiveChild) {
  const std::vector<bool> none = {true, true, false, false, false, false, false, true};
  const std::vector<bool> editor = {true, true, true, true, true, false, false, true};
  const std::vector<bool> graph = {true, true, false, false, false, true, true, true};
  const std::vector<bool> table = {true, true, false, false, false, true, false, true};
  const struct {
    const char* Kind;
    std::vector<bool> States;
  } rows[] = {{"MDIChild", editor}, {"Graph", graph}, {"Form4", table}, {"Notiz", none}};
  EXPECT_EQ(ToolBarStates(), none) << "at start";
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Kind);
    const bool isGraph = std::string_view(row.Kind) == "Graph";
    FakeChild* other = AddChild(isGraph ? "MDIChild" : "Graph");
    const std::vector<bool> otherStates = isGraph ? editor : graph;
    FakeChild* child = AddChild(row.Kind);
    EXPECT_EQ(ToolBarStates(), row.States) << "opened";
    frame_->MdiArea()->setActiveSubWindow(other);
    Settle();
    EXPECT_EQ(ToolBarStates(), otherStates) << "another child activated";
    frame_->MdiArea()->setActiveSubWindow(child);
    Settle();
    EXPECT_EQ(ToolBarStates(), row.States) << "activated again";

    // As graph generation does: a child opens while a modal dialog is up.
    QDialog dialog(frame_.get());
    std::vector<bool> shown, opened;
    QPointer<FakeChild> behind;
    QTimer::singleShot(0, &dialog, [&] {
      shown = ToolBarStates();
      behind = AddChild(isGraph ? "Form4" : "Graph");
      opened = ToolBarStates();
      dialog.accept();
    });
    dialog.exec();
    Settle();
    EXPECT_EQ(shown, row.States) << "modal dialog shown";
    EXPECT_EQ(opened, isGraph ? table : graph) << "child opened under a modal dialog";
    EXPECT_EQ(ToolBarStates(), isGraph ? table : graph) << "modal dialog closed";
    // Which child the area activates next is its own choice; the bar follows whichever it is.
    behind->close();
    Settle();
    const bool otherActive = frame_->MdiArea()->currentSubWindow() == other;
    EXPECT_EQ(ToolBarStates(), otherActive ? otherStates : row.States) << "the active child closed";
    other->close();
    Settle();
    EXPECT_EQ(ToolBarStates(), row.States) << "the other child closed";
    child->close();
    Settle();
    EXPECT_EQ(ToolBarStates(), none) << "the last child closed";
  }
  for (const QTimer* timer : frame_->findChildren<QTimer*>())
    EXPECT_FALSE(timer->isActive() && !timer->isSingleShot()) << "a timer polls";
}

TEST_F(FrameTest, DocumentButtonsCallTheActiveChildOfTheirKindOnly) {
  const struct {
    const char* Kind;
    void (TMainForm::*Button)();
    const char* Expected;  // empty: nothing happens
  } cases[] = {
      {"MDIChild", &TMainForm::ToolButton2Click, "SpeichernClick"},
      {"MDIChild", &TMainForm::ToolButton10Click, "Funktionsgrapherstellen1Click"},
      {"MDIChild", &TMainForm::ToolButton4Click, "Wertetabelleanzeigen1Click"},
      {"MDIChild", &TMainForm::ToolButton11Click, ""},
      {"MDIChild", &TMainForm::ToolButton8Click, ""},
      {"Graph", &TMainForm::ToolButton11Click, "Graphenspeichernunter1Click"},
      {"Graph", &TMainForm::ToolButton8Click, "Graphendrucken1Click"},
      {"Graph", &TMainForm::ToolButton2Click, ""},
      {"Form4", &TMainForm::ToolButton11Click, "Wertetabellespeichernunter1Click"},
      {"Form4", &TMainForm::ToolButton8Click, ""},
      {"Form4", &TMainForm::ToolButton10Click, ""},
      {"Andere", &TMainForm::ToolButton11Click, ""},
  };
  for (const auto& c : cases) {
    FakeChild* child = AddChild(c.Kind);
    calls_.clear();
    (frame_.get()->*c.Button)();
    const QStringList expected =
        *c.Expected ? QStringList{child->objectName() + "." + c.Expected} : QStringList{};
    EXPECT_EQ(calls_, expected) << c.Kind << " " << c.Expected;
    child->close();
    Settle();
  }
  calls_.clear();
  frame_->ToolButton2Click();
  EXPECT_TRUE(calls_.isEmpty()) << "no child window";
}

TEST_F(FrameTest, SaveButtonActsOnWhicheverEditorIsActive) {
  FakeChild* first = AddChild("MDIChild");
  FakeChild* second = AddChild("MDIChild");
  frame_->ToolButton2Click();
  frame_->MdiArea()->setActiveSubWindow(first);
  frame_->ToolButton10Click();
  EXPECT_EQ(calls_, (QStringList{second->objectName() + ".SpeichernClick",
                                 "MDIChild.Funktionsgrapherstellen1Click"}));
}

TEST_F(FrameTest, NewNumbersUntitledProjectsAndNeverReusesANumber) {
  frame_->FileNew1Execute();
  EXPECT_EQ(Active()->size(), QSize(640, 440));
  frame_->FileNew1Execute();
  EXPECT_EQ(Active()->objectName(), "MDIChild_1");
  frame_->MdiArea()->closeAllSubWindows();
  Settle();
  frame_->FileNew1Execute();
  EXPECT_EQ(factoryCalls_,
            (QStringList{"Unbenannt 1 (neu)", "Unbenannt 2 (neu)", "Unbenannt 3 (neu)"}));
  EXPECT_EQ(Active()->objectName(), "MDIChild");
  EXPECT_EQ(Active()->windowTitle(), "Unbenannt 3");
}

TEST_F(FrameTest, OpenAsksForAProjectFileAndOpensTheChosenOne) {
  prompts_.FileAnswers = {std::nullopt, FileChoice{"/daten/kurven.qgp", 1}};
  frame_->FileOpen1Execute();
  EXPECT_TRUE(factoryCalls_.isEmpty()) << "a cancelled dialog changes nothing";
  frame_->FileOpen1Execute();
  EXPECT_EQ(factoryCalls_, QStringList{"/daten/kurven.qgp (Datei)"});
  ASSERT_EQ(prompts_.FileDialogs.size(), 2u);
  EXPECT_EQ(prompts_.FileDialogs[0].Title, "Projektdatei öffnen");
  EXPECT_EQ(prompts_.FileDialogs[0].Filter, "Qel Graphics  (*.qgp)|*.qgp");
  EXPECT_EQ(prompts_.FileDialogs[0].DefaultExt, "*.qpg");
}

TEST_F(FrameTest, ActiveChildMenuReplacesTheFramesMenuUntilTheLastChildCloses) {
  QMenuBar* frameMenu = frame_->ShownMenuBar();
  EXPECT_FALSE(WindowActionsEnabled());
  FakeChild* editor = AddChild("MDIChild");
  EXPECT_EQ(frame_->ShownMenuBar(), editor->MainMenu1());
  EXPECT_EQ(frame_->menuBar()->actions(), editor->MainMenu1()->actions());
  EXPECT_TRUE(WindowActionsEnabled());
  FakeChild* graph = AddChild("Graph");
  EXPECT_EQ(frame_->ShownMenuBar(), graph->MainMenu1());
  frame_->MdiArea()->setActiveSubWindow(editor);
  Settle();
  EXPECT_EQ(frame_->ShownMenuBar(), editor->MainMenu1());
  editor->close();
  graph->close();
  Settle();
  EXPECT_EQ(frame_->ShownMenuBar(), frameMenu);
  EXPECT_EQ(frame_->menuBar()->actions(), frameMenu->actions());
  EXPECT_FALSE(WindowActionsEnabled());
}

TEST_F(FrameTest, WindowMenuListsTheOpenChildWindows) {
  AddChild("MDIChild");
  AddChild("Graph");
  auto* windowMenu = frame_->ShownMenuBar()->findChild<QMenu*>("Window1");
  ASSERT_NE(windowMenu, nullptr);
  emit windowMenu->aboutToShow();
  emit windowMenu->aboutToShow();
  QStringList entries;
  for (QAction* action : windowMenu->actions())
    if (action->property("windowListEntry").toBool() && !action->isSeparator())
      entries << action->text() + (action->isChecked() ? " *" : "");
  EXPECT_EQ(entries, (QStringList{"&1 MDIChild", "&2 Graph *"}));
}

TEST_F(FrameTest, F1OpensTheHelpOfWhatIsShown) {
  const auto pressF1 = [this] {
    for (QAction* menu : frame_->menuBar()->actions())
      for (QAction* item : menu->menu()->actions())
        if (item->shortcut() == QKeySequence(Qt::Key_F1)) return item->trigger();
  };
  pressF1();
  AddChild("MDIChild");
  pressF1();
  EXPECT_EQ(prompts_.HelpTopics, (std::vector<QString>{"Indice", "Funktionsgraphenerstellen"}));
}

// The frame's own keys answer once whichever kind of window is active, with a second child of the
// same kind open behind it; a key of an item the window does not have closes nothing.
TEST_F(FrameTest, SharedShortcutsAreUnambiguousInEveryKindOfWindow) {
  KeyPresser keys;
  for (const char* kind : {"", "MDIChild", "Graph", "Form4"}) {
    SCOPED_TRACE(kind);
    frame_->MdiArea()->closeAllSubWindows();
    Settle();
    if (*kind) {
      AddChild(kind);
      AddChild(kind);
    }
    QPointer<QMdiSubWindow> active = frame_->MdiArea()->currentSubWindow();
    const QStringList saved =
        active ? QStringList{active->objectName() + ".SpeichernClick"} : QStringList{};
    if (active) active->setFocus();
    const auto press = [&](const char* sequence) {
      KeyPresser::Ambiguities().clear();
      keys.Press(*frame_, QKeySequence(sequence));
      EXPECT_EQ(KeyPresser::Ambiguities(), QStringList()) << sequence;
      EXPECT_EQ(frame_->MdiArea()->currentSubWindow(), active.data()) << sequence;
    };
    factoryCalls_.clear();
    prompts_.FileDialogs.clear();
    prompts_.HelpTopics.clear();
    prompts_.FileAnswers.push_back(std::nullopt);
    calls_.clear();
    for (const char* sequence : {"Ctrl+O", "F1", "Ctrl+S", "Ctrl+W", "Ctrl+E"}) press(sequence);
    EXPECT_EQ(prompts_.FileDialogs.size(), 1u);
    EXPECT_EQ(prompts_.HelpTopics,
              (std::vector<QString>{*kind ? "Funktionsgraphenerstellen" : "Indice"}));
    EXPECT_EQ(calls_, saved);
    KeyPresser::Ambiguities().clear();
    keys.Press(*frame_, QKeySequence("Ctrl+N"));
    EXPECT_EQ(KeyPresser::Ambiguities(), QStringList());
    EXPECT_EQ(factoryCalls_, (QStringList{"Unbenannt 1 (neu)"}));
    frame_->NewProjectCounter = 0;
  }
}

TEST_F(FrameTest, CtrlF4ClosesTheActiveChildOnlyAndCtrlWNone) {
  KeyPresser keys;
  FakeChild* behind = AddChild("Graph");
  QPointer<FakeChild> front = AddChild("Graph");
  front->setFocus();
  keys.Press(*frame_, QKeySequence("Ctrl+W"));
  Settle();
  EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 2);
  keys.Press(*frame_, QKeySequence("Ctrl+F4"));
  Settle();
  EXPECT_TRUE(front.isNull());
  EXPECT_EQ(frame_->MdiArea()->subWindowList(), (QList<QMdiSubWindow*>{behind}));
  EXPECT_EQ(KeyPresser::Ambiguities(), QStringList());
}

TEST_F(FrameTest, ArrangementCommandsPlaceTheChildren) {
  FakeChild* a = AddChild("MDIChild");
  FakeChild* b = AddChild("Graph");
  const QSize area = frame_->MdiArea()->viewport()->size();
  frame_->WindowTileItemClick();
  EXPECT_EQ(a->geometry(), QRect(0, 0, area.width(), area.height() / 2));
  EXPECT_EQ(b->geometry().width(), area.width());
  frame_->WindowTileItem2Click();
  EXPECT_EQ(a->geometry(), QRect(0, 0, area.width() / 2, area.height()));
  frame_->WindowMinimizeItemClick();
  EXPECT_TRUE(a->isMinimized() && b->isMinimized());
  frame_->WindowArrangeItemClick();
  EXPECT_EQ(a->y(), b->y());
  EXPECT_EQ(a->geometry().bottom(), area.height() - 1);
}

// New children cascade from the top-left so each is seen whole while it fits; one larger than the
// area goes to the corner and the area's scroll bars reach the rest.
TEST_F(FrameTest, NewChildrenAreSeenWholeAndLargerOnesScroll) {
  const QRect area = frame_->MdiArea()->viewport()->rect();
  QList<QPoint> corners;
  for (int i = 0; i < 4; ++i) {
    FakeChild* child = AddChild("MDIChild", QSize(area.width() / 2, area.height() / 2));
    EXPECT_TRUE(area.contains(child->geometry())) << i;
    EXPECT_FALSE(corners.contains(child->pos())) << i;
    corners << child->pos();
  }
  FakeChild* large = AddChild("Graph", area.size() + QSize(200, 100));
  EXPECT_EQ(large->geometry(), QRect(QPoint(0, 0), area.size() + QSize(200, 100)));
  EXPECT_TRUE(frame_->MdiArea()->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(frame_->MdiArea()->verticalScrollBar()->isVisible());
}

// Cascading moves the windows but keeps each one's size, and restores maximized ones.
TEST_F(FrameTest, CascadeKeepsEveryWindowsSize) {
  const QList<QSize> sizes = {{300, 200}, {500, 350}, {240, 180}};
  QList<FakeChild*> children;
  for (const QSize& size : sizes) children << AddChild("Graph", size);
  children[1]->showMaximized();
  frame_->WindowCascadeItemClick();
  Settle();
  for (int i = 0; i < sizes.size(); ++i) {
    EXPECT_FALSE(children[i]->isMaximized()) << i;
    EXPECT_EQ(children[i]->size(), sizes[i]) << i;
  }
  EXPECT_LT(children[0]->pos().y(), children[2]->pos().y());
}

// A child opened while another is maximized: the maximized one is restored first, so the new one
// opens whole in its own size, with its title bar.
TEST_F(FrameTest, NewChildBesideAMaximizedOneOpensRestored) {
  FakeChild* first = AddChild("MDIChild", QSize(300, 200));
  first->showMaximized();
  Settle();
  FakeChild* second = AddChild("Graph", QSize(320, 240));
  EXPECT_FALSE(first->isMaximized());
  EXPECT_FALSE(second->isMaximized());
  EXPECT_EQ(second->size(), QSize(320, 240));
  EXPECT_EQ(first->size(), QSize(300, 200));
  EXPECT_EQ(frame_->MdiArea()->currentSubWindow(), second);
}

enum class ExitPath { Menu, ToolBar, CloseControl };

TEST_F(FrameTest, EveryWayOutAsksForUnsavedChangesAndCancelKeepsTheApplication) {
  for (ExitPath path : {ExitPath::Menu, ExitPath::ToolBar, ExitPath::CloseControl}) {
    for (PromptButton answer : {PromptButton::Cancel, PromptButton::No}) {
      SCOPED_TRACE(int(path) * 10 + int(answer));
      frame_->show();
      quits_ = 0;
      prompts_.Messages.clear();
      FakeChild* project = AddChild("MDIChild");
      project->Modified = true;
      AddChild("Graph");
      prompts_.MessageAnswers = {answer};
      if (path == ExitPath::Menu) frame_->findChild<QAction*>("FileExitItem")->trigger();
      if (path == ExitPath::ToolBar) frame_->ToolButton("ToolButton13")->trigger();
      if (path == ExitPath::CloseControl) frame_->close();
      Settle();
      ASSERT_EQ(prompts_.Messages.size(), 1u);
      EXPECT_EQ(prompts_.LastMessageText(), "Möchten Sie die Änderungen speichern?");
      const bool cancelled = answer == PromptButton::Cancel;
      EXPECT_EQ(frame_->isVisible(), cancelled);
      EXPECT_EQ(quits_, cancelled ? 0 : 1);
      EXPECT_EQ(frame_->MdiArea()->subWindowList().isEmpty(), !cancelled);
      prompts_.MessageAnswers = {PromptButton::No};
      frame_->MdiArea()->closeAllSubWindows();
      Settle();
    }
  }
}

// Closing the frame asks every child before it closes any: a refusal anywhere keeps every window,
// and the agreements given before it do not carry over to the next attempt.
TEST_F(FrameTest, ClosingAsksEveryChildFirstAndARefusalKeepsThemAll) {
  const struct {
    std::vector<bool> Modified;
    std::deque<PromptButton> Answers;
    bool Closes;
  } cases[] = {
      {{false, false, true}, {PromptButton::Cancel}, false},
      {{true, false, true}, {PromptButton::No, PromptButton::Cancel}, false},
      {{true, false, true}, {PromptButton::Cancel}, false},
      {{true, false, true}, {PromptButton::No, PromptButton::No}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Answers.size() * 10 + c.Closes);
    frame_->show();
    quits_ = 0;
    prompts_.Messages.clear();
    QList<QPointer<FakeChild>> children;
    for (bool modified : c.Modified) {
      children << AddChild(modified ? "MDIChild" : "Graph");
      children.back()->Modified = modified;
    }
    prompts_.MessageAnswers = c.Answers;
    frame_->close();
    Settle();
    EXPECT_EQ(prompts_.Messages.size(), c.Answers.size());
    EXPECT_EQ(quits_, c.Closes ? 1 : 0);
    for (const QPointer<FakeChild>& child : children) EXPECT_EQ(child.isNull(), c.Closes);
    if (c.Closes) continue;
    prompts_.MessageAnswers = {PromptButton::No, PromptButton::No};
    frame_->MdiArea()->closeAllSubWindows();
    Settle();
    const auto modified = std::count(c.Modified.begin(), c.Modified.end(), true);
    EXPECT_EQ(prompts_.Messages.size(), c.Answers.size() + size_t(modified)) << "each asks again";
  }
}

TEST_F(FrameTest, ChildMenuItemsReachTheFramesCommands) {
  FakeChild* child = AddChild("Graph");
  const StandardMenus& menus = child->Menus();
  menus.Item(MenuItem::ZurQelWebseite1)->trigger();
  menus.Item(MenuItem::Lizenzvertrag1)->trigger();
  menus.Item(MenuItem::Kontexthilfe1)->trigger();
  menus.Item(MenuItem::Druckereinstellungen1)->trigger();
  EXPECT_EQ(prompts_.Urls, std::vector<QUrl>{QUrl(kWebSite)});
  EXPECT_EQ(prompts_.HelpTopics,
            (std::vector<QString>{"Lizenzvertrag", "Funktionsgraphenerstellen"}));
  EXPECT_EQ(prompts_.PrinterSetups, 1);
  menus.Item(MenuItem::FileCloseItem)->trigger();
  Settle();
  EXPECT_TRUE(frame_->MdiArea()->subWindowList().isEmpty());
}

TEST_F(FrameTest, AboutBoxShowsModallyEachTime) {
  TAboutBox about(prompts_, frame_.get());
  frame_->AboutBox = &about;
  int shown = 0;
  for (int i = 0; i < 2; ++i) {
    QTimer::singleShot(0, &about, [&] {
      shown += about.isVisible() && about.isModal();
      about.OKButton->click();
    });
    frame_->HelpAbout1Execute();
    EXPECT_FALSE(about.isVisible());
  }
  EXPECT_EQ(shown, 2);
}

class ResolutionTest : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(ResolutionTest, OnlyANarrowScreenBringsTheQuestion) {
  const auto [width, asked] = GetParam();
  for (PromptButton answer : {PromptButton::Yes, PromptButton::No}) {
    ScriptedPrompts prompts;
    prompts.MessageAnswers = {answer};
    int quits = 0;
    TMainForm frame(FrameEnvironment{&prompts, [w = width] { return w; }, [&] { ++quits; }});
    frame.show();
    frame.hide();
    frame.show();
    ASSERT_EQ(prompts.Messages.size(), asked ? 1u : 0u);
    EXPECT_EQ(quits, asked && answer == PromptButton::No ? 1 : 0);
    if (!asked) continue;
    const ScriptedPrompts::MessageCall& question = prompts.Messages.front();
    EXPECT_EQ(question.Caption, "Qel Graphics");
    EXPECT_EQ(question.Text,
              "Für diese Anwendung sollten Sie eine Auflösung von mindestens 800x600 Pixeln "
              "verwenden.\nIn der aktuellen Auflösung können einige Teile des Programms nicht "
              "korrekt dargestellt werden.\n\nMöchten Sie die Qel Graphics dennoch starten?");
    EXPECT_EQ(question.Buttons, (std::vector<PromptButton>{PromptButton::Yes, PromptButton::No}));
    EXPECT_EQ(question.Icon, PromptIcon::Exclamation);
  }
}

INSTANTIATE_TEST_SUITE_P(Widths, ResolutionTest,
                         ::testing::Values(std::make_tuple(799, true), std::make_tuple(640, true),
                                           std::make_tuple(800, false),
                                           std::make_tuple(1024, false)));

}  // namespace
