#include <QFile>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "project/ProjectFile.h"
#include "tests/graphwin/ModalHelpers.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/app/FrameWiring.h"
#include "ui/app/MainForm.h"
#include "ui/graph/GraphWindow.h"
#include "ui/graph/OutputOptionsDialog.h"
#include "ui/graph/ProgressDialog.h"
#include "ui/project/ProjectWindow.h"

namespace {

// The real frame with its output options and progress dialogs, shown and active.
class FrameRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    WireFrame(frame, {&form2, &form3, nullptr});
    form3.Timer1->setInterval(0);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  }

  ScriptedPrompts prompts;
  TMainForm frame{FrameEnvironment{&prompts, [] { return 1280; }, [] {}}};
  TForm2 form2{prompts, frame.Fields(), frame.Printer(), &frame};
  TForm3 form3{
      frame.Children(), frame.QelParser1(), frame.Fields(), frame.Printer(), form2, &frame};
};

// The main road through the real frame: "Neu", the tool bar's "Zeichnen", then its "Speichern" and
// "Drucken" on the graph window that this made.
TEST_F(FrameRoad, ToolBarDrawsSavesAndPrintsTheActiveWindowsGraph) {
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

// A drawing cancelled with Esc brings back the project that asked for it, not whichever child the
// area would activate next.
TEST_F(FrameRoad, CancelledDrawingBringsItsProjectBackToTheFront) {
  QTemporaryDir dir;
  ProjectDocument document;
  for (int i = 0; i < 400; ++i) document.Functions.push_back({"f", "sin(x)", "0.001", "255"});
  const QString path = dir.filePath("lang.qgp");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray::fromStdString(ProjectFileText(document)));
  file.close();

  frame.FileNew1Execute();
  frame.FileNew1Execute();
  prompts.FileAnswers.push_back(FileChoice{path, 1});
  frame.FileOpen1Execute();
  QMdiSubWindow* starter = frame.MdiArea()->currentSubWindow();
  ASSERT_EQ(starter->windowTitle(), path);

  auto* timer = new QTimer(&form3);
  timer->setInterval(0);
  QObject::connect(timer, &QTimer::timeout, timer, [this, timer] {
    if (!form3.Generating() || !form3.LastGraph()) return;
    timer->stop();
    QCoreApplication::postEvent(&form3,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  });
  timer->start();
  frame.ToolButton10Click();
  QCoreApplication::processEvents();
  EXPECT_EQ(frame.MdiArea()->currentSubWindow(), starter);
  EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 3);
}

}  // namespace
