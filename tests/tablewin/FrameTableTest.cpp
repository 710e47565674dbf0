#include <gtest/gtest.h>
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "platform/RegionalSettings.h"
#include "project/ProjectFile.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/app/FrameWiring.h"
#include "ui/app/MainForm.h"
#include "ui/project/ProjectWindow.h"
#include "ui/valuetable/ValueTableOptionsDialog.h"
#include "ui/valuetable/ValueTableWindow.h"

namespace {

// The whole road inside the application's own frame: a project editor asks for a table, the frame
// shows the long-lived options dialog, the table window appears and the tool bar follows it.
class FrameTable : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRegionalDecimalSeparator('.');
    WireFrame(frame, {nullptr, nullptr, &Form5});
    frame.show();
    ProjectDocument document;
    document.Settings.XFrom = "-1";
    document.Settings.XTo = "1";
    document.Functions = {{"1", "x*3", "0.5", "0"}};
    const QString path = folder.filePath("Projekt.qgp");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(ProjectFileText(document)));
    file.close();
    frame.OpenProjectFiles({path});
    editor = qobject_cast<TMDIChild*>(frame.MdiArea()->currentSubWindow());
    ASSERT_NE(editor, nullptr);
  }

  // Presses Enter in the options dialog as soon as its modal loop runs.
  void ConfirmDialogWhenShown() {
    QTimer::singleShot(0, &Form5, [this] {
      Form5.activateWindow();
      QTest::keyClick(Form5.Edit1, Qt::Key_Return);
      if (Form5.isVisible()) {
        ADD_FAILURE() << "the options dialog stayed open";
        Form5.reject();
      }
    });
  }

  std::vector<bool> ToolBarStates() const {
    std::vector<bool> states;
    for (const char* name : {"ToolButton9", "ToolButton1", "ToolButton2", "ToolButton10",
                             "ToolButton4", "ToolButton11", "ToolButton8", "ToolButton13"}) {
      states.push_back(frame.ToolButton(name)->isEnabled());
    }
    return states;
  }

  QTemporaryDir folder;
  ScriptedPrompts prompts;
  TMainForm frame{FrameEnvironment{&prompts, [] { return 1024; }, [] {}}};
  TForm5 Form5{frame.Children(), frame.QelParser1(), &frame};
  TMDIChild* editor = nullptr;
};

TEST_F(FrameTable, TheEditorsCommandBuildsATableThatTheToolBarSaves) {
  ConfirmDialogWhenShown();
  editor->Wertetabelleanzeigen1Click();
  auto* table = qobject_cast<TForm4*>(frame.MdiArea()->currentSubWindow());
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(table->windowTitle().startsWith("Wertetabelle ("));
  EXPECT_EQ(table->ListView1->topLevelItemCount(), 5);

  frame.Timer2Timer();
  EXPECT_EQ(ToolBarStates(),
            (std::vector<bool>{true, true, false, false, false, true, false, true}));

  const QString path = folder.filePath("tabelle.txt");
  prompts.FileAnswers.push_back(FileChoice{path, 1});
  frame.ToolButton("ToolButton11")->trigger();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "x\tf(x)\r\n-1\t-3\r\n-0.5\t-1.5\r\n0\t0\r\n0.5\t1.5\r\n1\t3\r\n");
}

}  // namespace
