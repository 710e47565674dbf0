#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QRubberBand>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "graph/Bitmap.h"
#include "graph/GraphPointer.h"
#include "graph/GraphWindow.h"
#include "graph/OutputOptionsDialog.h"
#include "graph/ProgressDialog.h"
#include "platform/RegionalSettings.h"
#include "project/ProjectWindow.h"
#include "tests/support/FakeFrame.h"
#include "tests/support/ShortcutKeys.h"

namespace {

class StatusFrame : public FakeFrame {
 public:
  void ShowStatusText(const QString& text) override { Status << text; }
  QStringList Status;
};

class GraphPointerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRegionalDecimalSeparator(',');
    form3.Timer1->setInterval(0);
    frame.OnGenerateGraph = [this](TMDIChild& editor) {
      ++drawings;
      form3.ShowModalFor(editor.Document(), editor.windowTitle(), &editor);
    };
    frame.Area.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame.Area));
    editor = static_cast<TMDIChild*>(CreateProjectWindow(frame, "Unbenannt 1", true));
    editor->Funktionsgrapherstellen1Click();
    Settle();
    ASSERT_NE(Graph(), nullptr);
  }
  void TearDown() override { SetRegionalDecimalSeparator('.'); }

  TGraph* Graph() const { return form3.LastGraph(); }
  QWidget* Image() const { return Graph()->Image1; }

  // Lets a queued zoom run its drawing, then frees the windows it closed.
  void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // "X von", "bis", "Y von" and "bis", one blank apart.
  std::string Ranges() const {
    return QStringList{editor->Edit4->text(), editor->Edit5->text(), editor->Edit6->text(),
                       editor->Edit7->text()}
        .join(' ')
        .toStdString();
  }

  void Drag(QPoint from, QPoint to) {
    QTest::mousePress(Image(), Qt::LeftButton, {}, from);
    QTest::mouseMove(Image(), (from + to) / 2);
    QTest::mouseRelease(Image(), Qt::LeftButton, {}, to);
    Settle();
  }

  void SendWheel(QPoint at, int angle) {
    QWheelEvent event(at, Image()->mapToGlobal(at), {}, {0, angle}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Image(), &event);
  }

  void Wheel(QPoint at, int angle) {
    SendWheel(at, angle);
    Settle();
  }

  StatusFrame frame;
  TForm2 form2{frame};
  TForm3 form3{frame, form2};
  TMDIChild* editor = nullptr;
  int drawings = 0;
};

TEST_F(GraphPointerTest, StatusBarReadsThePixelUnderThePointer) {
  // The picture is shown at its own size here, so image and picture pixels coincide.
  ASSERT_EQ(Image()->size(), QSize(Graph()->Picture().Width(), Graph()->Picture().Height()));
  const std::pair<QPoint, const char*> cases[] = {
      {{320, 240}, "x = 0   y = 0"},
      {{0, 1}, "x = -10   y = 9,958"},  // QTest reads (0, 0) as the centre
      {{321, 239}, "x = 0,031   y = 0,042"},
      {{160, 360}, "x = -5   y = -5"},
  };
  for (const auto& [at, text] : cases) {
    QTest::mouseMove(Image(), at);
    EXPECT_EQ(frame.Status.value(frame.Status.size() - 1).toStdString(), text);
  }
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(Image(), &leave);
  EXPECT_EQ(frame.Status.last(), "");
}

TEST_F(GraphPointerTest, ReadoutFollowsTheDisplaysScaling) {
  Graph()->resize(Graph()->size() + Image()->size());  // about twice the picture in each direction
  const QSize shown = Image()->size();
  const Bitmap& picture = Graph()->Picture();
  QTest::mouseMove(Image(), {320 * shown.width() / picture.Width() + 1,
                             240 * shown.height() / picture.Height() + 1});
  EXPECT_EQ(frame.Status.last(), "x = 0   y = 0");
}

TEST_F(GraphPointerTest, DraggedRectangleTypesTheRangesAndDrawsAgain) {
  TGraph* old = Graph();
  QTest::mousePress(Image(), Qt::LeftButton, {}, {160, 120});
  QTest::mouseMove(Image(), {300, 200});
  auto* band = Image()->findChild<QRubberBand*>();
  ASSERT_NE(band, nullptr);
  EXPECT_TRUE(band->isVisible());
  EXPECT_EQ(band->geometry(), QRect(QPoint(160, 120), QPoint(300, 200)));
  QTest::mouseRelease(Image(), Qt::LeftButton, {}, {480, 360});
  Settle();
  EXPECT_EQ(Ranges(), "-5 5 -5 5");
  EXPECT_EQ(editor->Document().Settings.XFrom, "-5");
  EXPECT_TRUE(editor->Document().Modified);
  EXPECT_EQ(drawings, 2);
  EXPECT_NE(Graph(), old);
  EXPECT_EQ(Graph()->windowTitle(), "Garph (Unbenannt 1)");
  EXPECT_EQ(frame.Area.subWindowList().size(), 2);  // the editor and the new graph
}

// A click, a second zoom before the first has run, and any input while a modal dialog (a drawing's
// progress) is up change nothing.
TEST_F(GraphPointerTest, OnlyOneZoomAtATimeAndNoneWhileBusy) {
  Drag({100, 100}, {102, 300});
  EXPECT_EQ(drawings, 1);
  Wheel({320, 240}, 120);
  EXPECT_EQ(Ranges(), "-5 5 -5 5");
  QDialog progress;
  progress.setModal(true);
  progress.show();
  Drag({160, 120}, {480, 360});
  Wheel({320, 240}, 120);
  progress.close();
  SendWheel({320, 240}, 120);
  SendWheel({320, 240}, 120);
  Settle();
  EXPECT_EQ(Ranges(), "-2,5 2,5 -2,5 2,5");
  EXPECT_EQ(drawings, 3);
  frame.Area.setActiveSubWindow(Graph());
  Graph()->Pointer->AnsichtzurueckClick();
  Settle();
  EXPECT_EQ(Ranges(), "-5 5 -5 5");
}

TEST_F(GraphPointerTest, WheelZoomsAroundThePointer) {
  Wheel({480, 120}, 120);  // x = 5, y = 5 stay where they are
  EXPECT_EQ(Ranges(), "-2,5 7,5 -2,5 7,5");
  Wheel({320, 240}, 60);  // half a notch does nothing yet
  EXPECT_EQ(drawings, 2);
  Wheel({320, 240}, -180);  // with the half before, one notch back
  EXPECT_EQ(Ranges(), "-7,5 12,5 -7,5 12,5");
}

TEST_F(GraphPointerTest, StepsBackThroughEveryZoom) {
  Drag({160, 120}, {480, 360});
  Wheel({320, 240}, 120);
  Wheel({0, 0}, -120);
  EXPECT_EQ(Ranges(), "-2,5 7,5 -7,5 2,5");
  const char* const expected[] = {"-2,5 2,5 -2,5 2,5", "-5 5 -5 5", "-10 10 -10 10"};
  KeyPresser keys;
  for (const char* ranges : expected) {
    frame.Area.setActiveSubWindow(Graph());
    EXPECT_TRUE(Graph()->Pointer->Ansichtzurueck1->isEnabled());
    keys.Press(frame.Area, QKeySequence(Qt::Key_Backspace));
    Settle();
    EXPECT_EQ(Ranges(), ranges);
  }
  EXPECT_FALSE(Graph()->Pointer->Ansichtzurueck1->isEnabled());
  EXPECT_EQ(drawings, 7);
}

TEST_F(GraphPointerTest, ClosedEditorLeavesAStillPicture) {
  TGraph* graph = Graph();
  editor->close();
  Settle();
  EXPECT_FALSE(graph->Pointer->CanZoom());
  EXPECT_FALSE(graph->Pointer->Ansichtzurueck1->isEnabled());
  frame.Status.clear();
  Drag({160, 120}, {480, 360});
  Wheel({320, 240}, 120);
  graph->Pointer->AnsichtzurueckClick();
  Settle();
  EXPECT_EQ(frame.Status.filter("geschlossen").size(), 1);
  EXPECT_FALSE(Image()->findChild<QRubberBand*>()->isVisible());
  EXPECT_EQ(drawings, 1);
  EXPECT_EQ(form3.LastGraph(), graph);
}

TEST_F(GraphPointerTest, RejectedSettingsShowTheCheckAndDrawNothing) {
  TGraph* old = Graph();
  editor->Edit8->setText("5");
  Drag({160, 120}, {480, 360});
  ASSERT_EQ(frame.Questions.Messages.size(), 1u);
  EXPECT_EQ(frame.Questions.Messages[0].Caption, "Eingabefehler");
  EXPECT_EQ(Ranges(), "-5 5 -5 5");
  EXPECT_EQ(drawings, 1);
  EXPECT_EQ(Graph(), old);
}

}  // namespace
