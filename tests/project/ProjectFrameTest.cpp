#include <gtest/gtest.h>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QToolButton>
#include <functional>

#include "project/ProjectFile.h"
#include "tests/project/HandOverFrame.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/ShortcutKeys.h"
#include "ui/app/FrameWiring.h"
#include "ui/app/MainForm.h"
#include "ui/project/ProjectWindow.h"

namespace {

// The application's frame with the project editor registered, as the program starts it.
class ProjectFrame : public ::testing::Test {
 protected:
  ProjectFrame() : frame(FrameEnvironment{&prompts, [] { return 1024; }, [] {}}) {
    WireFrame(frame, {});
    frame.show();
  }

  TMDIChild* Active() { return qobject_cast<TMDIChild*>(frame.MdiArea()->currentSubWindow()); }

  ScriptedPrompts prompts;
  TMainForm frame;
  QTemporaryDir dir;
};

TEST_F(ProjectFrame, NewNumbersAreNeverReusedAndTheMinimumSizeWins) {
  frame.FileNew1Execute();
  frame.FileNew1Execute();
  for (QMdiSubWindow* window : frame.MdiArea()->subWindowList()) window->close();
  frame.FileNew1Execute();
  TMDIChild* editor = Active();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->windowTitle(), "Unbenannt 3");
  EXPECT_EQ(editor->size(), QSize(724, 440));
  EXPECT_TRUE(prompts.Messages.empty());
}

TEST_F(ProjectFrame, OpenReadsTheChosenFile) {
  ProjectDocument document;
  document.DateiName = dir.filePath("a.qgp").toStdString();
  document.Functions.push_back({"1", "x^2", "0.5", "255"});
  SaveData(document);
  prompts.FileAnswers.push_back(FileChoice{dir.filePath("a.qgp"), 1});
  frame.FileOpen1Execute();
  ASSERT_EQ(prompts.FileDialogs.size(), 1u);
  EXPECT_EQ(prompts.FileDialogs[0].Title, "Projektdatei öffnen");
  EXPECT_EQ(prompts.FileDialogs[0].Filter, "Qel Graphics  (*.qgp)|*.qgp");
  TMDIChild* editor = Active();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->Document().Functions, document.Functions);
  EXPECT_EQ(editor->windowTitle(), dir.filePath("a.qgp"));
}

TEST_F(ProjectFrame, ToolBarSaveActsOnTheActiveEditor) {
  frame.FileNew1Execute();
  TMDIChild* first = Active();
  frame.FileNew1Execute();
  TMDIChild* second = Active();
  ASSERT_NE(first, second);
  second->Button1->click();
  prompts.FileAnswers.push_back(FileChoice{dir.filePath("b.qgp"), 1});
  frame.ToolButton2Click();
  EXPECT_EQ(second->windowTitle(), dir.filePath("b.qgp"));
  EXPECT_EQ(first->windowTitle(), "Unbenannt 1");

  frame.MdiArea()->setActiveSubWindow(first);
  prompts.FileAnswers.push_back(std::nullopt);
  frame.ToolButton2Click();
  EXPECT_EQ(prompts.FileDialogs.size(), 2u);
}

// Every shortcut of the editor's menu reaches its command exactly once, with a second editor open
// behind it, and none of them closes the editor.
TEST(ProjectFrameKeys, EditorMenuShortcutsReachTheirCommands) {
  ScriptedPrompts prompts;
  HandOverFrame frame(FrameEnvironment{&prompts, [] { return 1024; }, [] {}});
  frame.show();
  frame.FileNew1Execute();
  frame.FileNew1Execute();
  auto* editor = qobject_cast<TMDIChild*>(frame.MdiArea()->currentSubWindow());
  ASSERT_NE(editor, nullptr);
  editor->Edit4->setFocus();

  const struct {
    const char* Keys;
    std::function<size_t()> Count;
  } cases[] = {
      {"Ctrl+W", [&] { return size_t(frame.Tables); }},
      {"Ctrl+E", [&] { return size_t(frame.Graphs); }},
      {"Ctrl+S", [&] { return prompts.FileDialogs.size(); }},  // untitled: asks for a name
      {"Ctrl+O", [&] { return prompts.FileDialogs.size(); }},
      {"F1", [&] { return prompts.HelpTopics.size(); }},
      {"Ctrl+N", [&] { return size_t(frame.MdiArea()->subWindowList().size()); }},
  };
  KeyPresser keys;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Keys);
    KeyPresser::Ambiguities().clear();
    prompts.FileAnswers.push_back(std::nullopt);
    const size_t before = c.Count();
    keys.Press(frame, QKeySequence(c.Keys));
    EXPECT_EQ(c.Count(), before + 1);
    EXPECT_EQ(KeyPresser::Ambiguities(), QStringList());
    prompts.FileAnswers.clear();
    if (QString(c.Keys) != "Ctrl+N") {
      EXPECT_EQ(frame.MdiArea()->currentSubWindow(), editor);
    }
  }
  EXPECT_EQ(prompts.HelpTopics, (std::vector<QString>{"Funktionsgraphenerstellen"}));
  EXPECT_TRUE(prompts.Messages.empty());
}

}  // namespace
