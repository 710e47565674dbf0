#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QRubberBand>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <tuple>

#include "graph/Bitmap.h"
#include "graph/GraphRenderer.h"
#include "platform/RegionalSettings.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/ShortcutKeys.h"
#include "ui/app/FrameWiring.h"
#include "ui/app/MainForm.h"
#include "ui/graph/GraphPointer.h"
#include "ui/graph/GraphWindow.h"
#include "ui/graph/OutputOptionsDialog.h"
#include "ui/graph/ProgressDialog.h"
#include "ui/project/ProjectWindow.h"

namespace {

// The real frame, wired as the program wires it, with one project drawn once.
class GraphPointerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRegionalDecimalSeparator(',');
    form3.Timer1->setInterval(0);
    WireFrame(frame, {&form2, &form3, nullptr});
    frame.resize(1500, 1200);  // room for the graph at twice its size
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    frame.FileNew1Execute();
    editor = qobject_cast<TMDIChild*>(frame.MdiArea()->currentSubWindow());
    ASSERT_NE(editor, nullptr);
    editor->Funktionsgrapherstellen1Click();
    Settle();
    ASSERT_NE(Graph(), nullptr);
    QObject::connect(Graph(), &ChildForm::StatusText,
                     [this](const QString& text) { Status << text; });
    QObject::connect(Graph()->Pointer, &GraphPointer::ZoomWanted, [this] { ++drawings; });
    QObject::connect(Graph()->Pointer, &GraphPointer::ZoomBackWanted, [this] { ++drawings; });
  }
  void TearDown() override { SetRegionalDecimalSeparator('.'); }

  TGraph* Graph() const { return form3.LastGraph(); }
  QWidget* Image() const { return Graph()->Image1; }

  // Lets a queued zoom run its drawing, then frees the windows it closed.
  void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // "X von", "bis", "Y von" and "bis", one blank apart.
  std::string Ranges() const {
    return QStringList{editor->Edit4->text(), editor->Edit5->text(), editor->Edit6->text(),
                       editor->Edit7->text()}
        .join(' ')
        .toStdString();
  }

  // The status line for the pointer at a pixel; the pointer comes from elsewhere, as a move to
  // where a button was last released may not reach the window.
  QString ReadoutAt(QPoint at) {
    QTest::mouseMove(Image(), at + QPoint(7, 7));
    QTest::mouseMove(Image(), at);
    return Status.value(Status.size() - 1);
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

  ScriptedPrompts prompts;
  TMainForm frame{FrameEnvironment{&prompts, [] { return 1280; }, [] {}}};
  TForm2 form2{prompts, frame.Fields(), frame.Printer(), &frame};
  TForm3 form3{
      frame.Children(), frame.QelParser1(), frame.Fields(), frame.Printer(), form2, &frame};
  TMDIChild* editor = nullptr;
  QStringList Status;
  int drawings = 1;  // the first, by "Graphen erstellen"
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
    EXPECT_EQ(Status.value(Status.size() - 1).toStdString(), text);
  }
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(Image(), &leave);
  EXPECT_EQ(Status.last(), "");
}

TEST_F(GraphPointerTest, ReadoutFollowsTheDisplaysScaling) {
  Graph()->resize(Graph()->size() + Image()->size());  // about twice the picture in each direction
  const QSize shown = Image()->size();
  const Bitmap& picture = Graph()->Picture();
  QTest::mouseMove(Image(), {320 * shown.width() / picture.Width() + 1,
                             240 * shown.height() / picture.Height() + 1});
  EXPECT_EQ(Status.last(), "x = 0   y = 0");
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
  // Drawn again in place, at once: the same window reads the new ranges.
  EXPECT_EQ(Graph(), old);
  EXPECT_FALSE(form3.isVisible());
  EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 2);
  EXPECT_EQ(ReadoutAt({160, 360}), "x = -2,5   y = -2,5");
}

// A click changes nothing; notches that arrive before a zoom has been drawn are added up into one
// more drawing, none lost; input while a modal dialog is up is ignored.
TEST_F(GraphPointerTest, InputDuringADrawingIsAddedUpAndNoneWhileBusy) {
  Drag({100, 100}, {102, 300});
  EXPECT_EQ(drawings, 1);
  for (int i = 0; i < 3; ++i) SendWheel({320, 240}, 120);
  Settle();
  EXPECT_EQ(Ranges(), "-1,25 1,25 -1,25 1,25");
  EXPECT_EQ(drawings, 2);
  QDialog progress;
  progress.setModal(true);
  progress.show();
  Drag({160, 120}, {480, 360});
  Wheel({320, 240}, 120);
  progress.close();
  EXPECT_EQ(drawings, 2);
  frame.MdiArea()->setActiveSubWindow(Graph());
  Graph()->Pointer->AnsichtzurueckClick();
  Graph()->Pointer->AnsichtzurueckClick();
  Settle();
  EXPECT_EQ(Ranges(), "-10 10 -10 10");
  EXPECT_EQ(drawings, 3);
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
    frame.MdiArea()->setActiveSubWindow(Graph());
    EXPECT_TRUE(Graph()->Pointer->Ansichtzurueck1->isEnabled());
    keys.Press(*frame.MdiArea(), QKeySequence(Qt::Key_Backspace));
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
  Status.clear();
  Drag({160, 120}, {480, 360});
  Wheel({320, 240}, 120);
  graph->Pointer->AnsichtzurueckClick();
  Settle();
  EXPECT_EQ(Status.filter("geschlossen").size(), 1);
  EXPECT_FALSE(Image()->findChild<QRubberBand*>()->isVisible());
  EXPECT_EQ(drawings, 1);
  EXPECT_EQ(form3.LastGraph(), graph);
}

TEST_F(GraphPointerTest, RejectedSettingsShowTheCheckAndDrawNothing) {
  TGraph* old = Graph();
  editor->Edit8->setText("5");
  Drag({160, 120}, {480, 360});
  ASSERT_EQ(prompts.Messages.size(), 1u);
  EXPECT_EQ(prompts.Messages[0].Caption, "Eingabefehler");
  EXPECT_EQ(Ranges(), "-5 5 -5 5");
  EXPECT_EQ(Graph(), old);
  EXPECT_EQ(ReadoutAt({160, 360}), "x = -5   y = -5");  // still the first picture's ranges
}

// A zoom draws at the output size the project has now, as a new generation would.
TEST_F(GraphPointerTest, AZoomDrawsAtTheOutputSizeTheProjectHasNow) {
  editor->Edit8->setText("400");
  editor->Edit9->setText("300");
  Wheel({320, 240}, 120);
  EXPECT_EQ(QSize(Graph()->Picture().Width(), Graph()->Picture().Height()), QSize(400, 300));
  EXPECT_EQ(Ranges(), "-5 5 -5 5");
}

// The picture's curves as the window was drawn from them: x^3 in red, 1/x in blue, 2 in green.
void KeepCurves(TGraph& graph, TQelParser& engine) {
  ProjectDocument project;
  project.Functions = {
      {"1", "x^3", "0.1", "255"}, {"2", "1/x", "0.1", "16711680"}, {"3", "2", "0.1", "65280"}};
  graph.KeepDrawing(project, engine);
  graph.Pointer->SetGeometry(RenderGeometry(project.Settings, engine), LimitsFor(project.Settings));
}

// Near a curve the pointer snaps to it and the keys move along it or to the next one; elsewhere
// the plain readout stays.
TEST_F(GraphPointerTest, PointerAndKeysTraceTheCurves) {
  KeepCurves(*Graph(), frame.QelParser1());
  struct Case {
    std::optional<QPoint> At;  // else a key
    int Key;
    const char* Status;
    int MarkerRow;  // -1: no trace marker
  };
  const Case cases[] = {
      {QPoint(368, 165), 0, "f1(1,5) = 3,375", 159},     // 6 pixels below x^3
      {QPoint(368, 100), 0, "x = 1,5   y = 5,833", -1},  // no curve within 8 pixels
      {QPoint(368, 190), 0, "f3(1,5) = 2", 192},
      {std::nullopt, Qt::Key_Up, "f1(1,5) = 3,375", 159},
      {std::nullopt, Qt::Key_Up, "f1(1,5) = 3,375", 159},  // nothing above
      {std::nullopt, Qt::Key_Right, "f1(1,531) = 3,59", 153},
      {std::nullopt, Qt::Key_Down, "f3(1,531) = 2", 192},
      {std::nullopt, Qt::Key_Down, "f2(1,531) = 0,653", 224},
      {QPoint(315, 0), 0, "x = -0,156   y = 10", -1},
      {QPoint(319, 240), 0, "f1(-0,031) = 0", 240},
      {std::nullopt, Qt::Key_Down, "f2(-0,031) = -32", 1008},
      {std::nullopt, Qt::Key_Right, "f2(0,031) = 32", -528},  // past 1/0, on the same curve
  };
  for (const Case& c : cases) {
    if (c.At) {
      QTest::mouseMove(Image(), *c.At);
    } else {
      QTest::keyClick(Image(), static_cast<Qt::Key>(c.Key));
    }
    EXPECT_EQ(Status.last().toStdString(), c.Status);
    const auto& trace = Graph()->Image1->Trace;
    EXPECT_EQ(trace ? static_cast<int>(trace->Row) : -1, c.MarkerRow) << c.Status;
  }
}

// The points of a discussion are drawn over the picture, which keeps its pixels.
TEST_F(GraphPointerTest, MarkersAreDrawnOverThePictureOnly) {
  KeepCurves(*Graph(), frame.QelParser1());
  const Bitmap before = Graph()->Picture();
  Graph()->MarkPoints({{1, 0, {{PointKind::Zero, 0, 0}, {PointKind::Pole, 5, {}}}, 0},
                       {2, 3, {{PointKind::Intersection, 0.5L, 2}}, 0}});
  const QImage shown = Image()->grab().toImage();
  const std::tuple<QPoint, QRgb> cases[] = {
      {{323, 240}, qRgb(255, 0, 0)},  // on the ring around (0, 0)
      {{320, 240}, 0},                // its centre shows the picture
      {{496, 240}, 0},                // a pole has no marker
      {{336, 195}, qRgb(0, 0, 255)},  // f2 and f3 cross at (0,5, 2)
  };
  for (const auto& [at, colour] : cases) {
    const QRgb pixel = shown.pixel(at);
    const QRgb picture =
        qRgb(before.Pixel(at.x(), at.y()) & 0xFF, (before.Pixel(at.x(), at.y()) >> 8) & 0xFF,
             before.Pixel(at.x(), at.y()) >> 16);
    if (colour == 0) {
      EXPECT_EQ(pixel, picture) << at.x();
    } else {
      EXPECT_LT(qGray(pixel), qGray(picture)) << at.x();
      EXPECT_GT(qRed(pixel) * qRed(colour) + qBlue(pixel) * qBlue(colour), qGreen(pixel) * 255)
          << at.x();
    }
  }
  EXPECT_EQ(std::memcmp(before.Data(), Graph()->Picture().Data(),
                        before.Stride() * static_cast<size_t>(before.Height())),
            0);
}

}  // namespace
