#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "graph/GraphWindow.h"
#include "graph/OutputOptionsDialog.h"
#include "graph/ProgressDialog.h"
#include "project/ProjectWindow.h"
#include "tests/graphwin/ModalHelpers.h"
#include "tests/support/ScriptedPrompts.h"

namespace {

// The main road through the real frame: "Neu", the tool bar's "Zeichnen", then its "Speichern" and
// "Drucken" on the graph window that this made.
TEST(FrameRoad, ToolBarDrawsSavesAndPrintsTheActiveWindowsGraph) {
  ScriptedPrompts prompts;
  TMainForm frame(FrameEnvironment{&prompts, [] { return 1280; }, [] {}});
  frame.SetProjectWindowFactory([&frame](const QString& name, bool isNew) {
    return CreateProjectWindow(frame, name, isNew);
  });
  TForm2 form2(frame, &frame);
  TForm3 form3(frame, form2, &frame);
  frame.Form2 = &form2;
  frame.Form3 = &form3;
  form3.Timer1->setInterval(0);
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));

  frame.FileNew1Execute();
  frame.ToolButton10Click();
  QMdiSubWindow* active = frame.MdiArea()->currentSubWindow();
  ASSERT_NE(active, nullptr);
  EXPECT_EQ(active->objectName(), "Graph");
  EXPECT_EQ(active->windowTitle(), "Garph (Unbenannt 1)");

  prompts.FileAnswers.push_back(std::nullopt);
  frame.ToolButton11Click();
  ASSERT_EQ(prompts.FileDialogs.size(), 1u);
  EXPECT_EQ(prompts.FileDialogs[0].Title, "Graphen speichern unter");

  WhenShown(form2, [&] {
    EXPECT_TRUE(form2.PrintMode);
    form2.close();
  });
  frame.ToolButton8Click();
  EXPECT_TRUE(frame.Fields().PrintCancelled);
}

}  // namespace
