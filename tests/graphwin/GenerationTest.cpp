#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <tuple>

#include <gtest/gtest.h>

#include "graph/Bitmap.h"
#include "graph/BmpWriter.h"
#include "graph/GraphRenderer.h"
#include "graph/JpegWriter.h"
#include "graph/PngWriter.h"
#include "graph/VectorWriter.h"
#include "platform/RegionalSettings.h"
#include "project/ProjectFile.h"
#include "tests/graphwin/ModalHelpers.h"
#include "tests/support/FakeFrame.h"
#include "ui/graph/GraphWindow.h"
#include "ui/graph/OutputOptionsDialog.h"
#include "ui/graph/ProgressDialog.h"
#include "ui/project/ProjectWindow.h"

namespace {

// Records, in order, the windows that close or hide.
class WindowLog : public QObject {
 public:
  void Watch(QWidget* window, const QString& name, QEvent::Type type) {
    names_[window] = {name, type};
    window->installEventFilter(this);
  }
  QStringList Entries;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto found = names_.find(watched);
    if (found != names_.end() && event->type() == found->second.second)
      Entries << found->second.first;
    return false;
  }

 private:
  std::map<QObject*, std::pair<QString, QEvent::Type>> names_;
};

class GenerationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRegionalDecimalSeparator('.');
    ASSERT_TRUE(dir.isValid());
    form3.Timer1->setInterval(0);
    frame.Area.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame.Area));
  }

  // An editor whose "Graphen erstellen" runs the progress dialog.
  TMDIChild* Open(const QString& name, bool isNew) {
    TMDIChild* editor =
        CreateProjectWindow(frame.Context(), frame.Parser, frame.Shared, name, isNew);
    QObject::connect(editor, &TMDIChild::GraphWanted, [this, editor] {
      ++dialogsShown;
      result = form3.ShowModalFor(editor->Document(), editor->windowTitle());
    });
    return editor;
  }

  // An editor for a project file holding `functions` copies of one curve.
  TMDIChild* Editor(const QString& name, ProjectSettings settings = {}, int functions = 1) {
    ProjectDocument document;
    document.Settings = settings;
    for (int i = 1; i <= functions; ++i)
      document.Functions.push_back({std::to_string(i), "sin(x)", "0.001", "255"});
    return Editor(name, document);
  }

  TMDIChild* Editor(const QString& name, const ProjectDocument& document) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(ProjectFileText(document)));
    file.close();
    return Open(path, false);
  }

  void Generate(TMDIChild* editor) {
    frame.Area.setActiveSubWindow(editor);
    editor->Funktionsgrapherstellen1Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  QStringList GraphTitles() {
    QStringList titles;
    for (QMdiSubWindow* child : frame.Area.subWindowList())
      if (child->objectName().startsWith("Graph")) titles << child->windowTitle();
    titles.sort();
    return titles;
  }

  // Acts once, at a check point of a running drawing.
  void DuringDrawing(std::function<void()> act) {
    auto* timer = new QTimer(&form3);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [this, timer, act = std::move(act)] {
      if (!form3.Generating() || !form3.LastGraph()) return;
      timer->stop();
      act();
    });
    timer->start();
  }

  QTemporaryDir dir;
  FakeFrame frame;
  TForm2 form2{frame.Questions, frame.Shared, frame.PrinterDevice};
  TForm3 form3{frame.Context(), frame.Parser, frame.Shared, frame.PrinterDevice, form2};
  int dialogsShown = 0;
  int result = -1;
};

TEST_F(GenerationTest, NewProjectGivesAGraphOfItsOutputSize) {
  auto* editor = Open("Unbenannt 1", true);
  Generate(editor);
  EXPECT_EQ(result, QDialog::Accepted);
  ASSERT_EQ(GraphTitles(), QStringList{"Garph (Unbenannt 1)"});
  TGraph* graph = form3.LastGraph();
  ASSERT_NE(graph, nullptr);
  // The window is sized around an image area that shows the whole picture at its own size.
  const Bitmap& picture = graph->Picture();
  EXPECT_EQ(QSize(picture.Width(), picture.Height()), QSize(640, 480));
  EXPECT_EQ(graph->Image1->size(), QSize(640, 480));
  EXPECT_GT(graph->width(), 640);
  EXPECT_EQ(picture.Pixel(320, 10), ProjectSettings{}.AxisColor);
  EXPECT_EQ(picture.Pixel(10, 240), ProjectSettings{}.AxisColor);
}

// A file saved from the window is the one the core writes for the project at its W x H (the
// drawing library numbers its SVG surfaces within a run: that number is left out).
TEST_F(GenerationTest, SavedPictureIsTheCoreRenderOfTheProject) {
  ProjectDocument document;
  std::tie(document.Settings.YFrom, document.Settings.YTo, document.Settings.Pointwise) =
      std::tuple("-6", "6", false);
  document.Functions = {{"1", "x^2-4", "0.1", "255"},
                        {"2", "sin(x)*3", "0.1", "16711680"},
                        {"3", "1/(x-1)", "0.05", "32768"}};
  Generate(Editor("three.qgp", document));
  ASSERT_EQ(result, QDialog::Accepted);
  const bool cancelled = false;
  Bitmap bitmap(640, 480);
  VectorPicture vectors(640, 480);
  GraphRenderer(document, frame.Parser, bitmap, cancelled, {}, {});
  GraphRenderer(document, frame.Parser, vectors, cancelled, {}, {});
  const std::pair<const char*, std::string> cases[] = {{"g.bmp", EncodeBmp(bitmap)},
                                                       {"g.png", EncodePng(bitmap)},
                                                       {"g.svg", EncodeSvg(vectors)},
                                                       {"g.jpg", EncodeJpeg(bitmap, 60)}};
  const QRegularExpression surface(R"(id="surface\d+")");
  for (const auto& [name, core] : cases) {
    frame.Questions.FileAnswers.push_back(FileChoice{dir.filePath(name), 1});
    if (QString(name).endsWith(".jpg"))
      WhenShown(form2, [&] { QTest::mouseClick(form2.Button1, Qt::LeftButton); });
    form3.LastGraph()->Graphenspeichernunter1Click();
    QFile saved(dir.filePath(name));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << name;
    EXPECT_TRUE(
        QString::fromLatin1(saved.readAll()).remove(surface) ==
        QString::fromLatin1(core.data(), static_cast<qsizetype>(core.size())).remove(surface))
        << name;
  }
}

TEST_F(GenerationTest, GeneratingAgainReplacesOnlyTheSameProjectsGraph) {
  TMDIChild* first = Editor("a.qgp");
  TMDIChild* second = Editor("b.qgp");
  Generate(first);
  Generate(second);
  TGraph* secondGraph = form3.LastGraph();
  Generate(first);
  const QString a = "Garph (" + dir.filePath("a.qgp") + ")";
  const QString b = "Garph (" + dir.filePath("b.qgp") + ")";
  EXPECT_EQ(GraphTitles(), (QStringList{a, b}));
  EXPECT_EQ(secondGraph->windowTitle(), b);
  EXPECT_EQ(dialogsShown, 3);
}

TEST_F(GenerationTest, EscClosesTheNewWindowBeforeTheDialog) {
  // Input is let through every few milliseconds: the drawing must last several of them.
  TMDIChild* editor = Editor("long.qgp", {}, 400);
  WindowLog log;
  log.Watch(&form3, "dialog", QEvent::Hide);
  DuringDrawing([&] {
    log.Watch(form3.LastGraph(), "graph", QEvent::Close);
    QCoreApplication::postEvent(&form3,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  });
  Generate(editor);
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_EQ(log.Entries, (QStringList{"graph", "dialog"}));
  EXPECT_TRUE(GraphTitles().isEmpty());
}

TEST_F(GenerationTest, CloseButtonLetsTheDrawingFinish) {
  TMDIChild* editor = Editor("long.qgp", {}, 200);
  bool closedWhileDrawing = false;
  DuringDrawing([&] {
    closedWhileDrawing = true;
    QCoreApplication::postEvent(&form3, new QCloseEvent);
  });
  Generate(editor);
  EXPECT_TRUE(closedWhileDrawing);
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(GraphTitles().size(), 1);
  EXPECT_FALSE(form3.isVisible());
}

TEST_F(GenerationTest, CancelBeforeTheDrawingStartsMakesNoWindow) {
  TMDIChild* editor = Editor("a.qgp");
  form3.Timer1->setInterval(60000);
  QTimer::singleShot(0, &form3, [&] { form3.Button1Click(); });
  Generate(editor);
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_FALSE(form3.Timer1->isActive());
  EXPECT_TRUE(GraphTitles().isEmpty());
}

TEST_F(GenerationTest, SettingsThatFailTheCheckShowNoDialog) {
  ProjectSettings settings;
  settings.XFrom = "5";
  settings.XTo = "5";
  Generate(Editor("bad.qgp", settings));
  EXPECT_EQ(dialogsShown, 0);
  ASSERT_EQ(frame.Questions.Messages.size(), 1u);
  EXPECT_EQ(frame.Questions.Messages[0].Caption, "Eingabefehler");
  EXPECT_TRUE(GraphTitles().isEmpty());
}

TEST_F(GenerationTest, AGridStepOfZeroEndsTheDrawingSilentlyAndKeepsTheWindow) {
  ProjectSettings settings;
  settings.GridStep = "0";
  Generate(Editor("grid.qgp", settings));
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_TRUE(frame.Questions.Messages.empty());
  EXPECT_EQ(GraphTitles().size(), 1);
  EXPECT_FALSE(form3.isVisible());
}

TEST_F(GenerationTest, ABrokenFunctionIsReportedAndTheOthersDrawn) {
  TMDIChild* editor = Editor("broken.qgp");
  ProjectDocument document = editor->Document();
  document.Functions.insert(document.Functions.begin(), {"1", "sin(", "0.1", "0"});
  QFile file(dir.filePath("broken.qgp"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray::fromStdString(ProjectFileText(document)));
  file.close();
  editor->OpenProject(dir.filePath("broken.qgp"), false);
  Generate(editor);
  EXPECT_EQ(result, QDialog::Accepted);
  ASSERT_EQ(frame.Questions.Messages.size(), 1u);
  EXPECT_EQ(frame.Questions.Messages[0].Caption, "Qel Graphics");
  EXPECT_EQ(frame.Questions.Messages[0].Icon, PromptIcon::Exclamation);
  EXPECT_TRUE(
      frame.Questions.Messages[0].Text.startsWith("Fehler in Funktionsdefinition:\n\nsin("));
  // A vector copy is drawn again from the same project, without reporting again.
  frame.Questions.FileAnswers.push_back(FileChoice{dir.filePath("graph.svg"), 4});
  form3.LastGraph()->Graphenspeichernunter1Click();
  EXPECT_EQ(frame.Questions.Messages.size(), 1u);
  QFile svg(dir.filePath("graph.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  EXPECT_TRUE(svg.readAll().contains("fill:rgb(100%,0%,0%)"));
}

}  // namespace
