#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <fstream>
#include <sstream>

#include "platform/RegionalSettings.h"
#include "project/ProjectDocument.h"
#include "tests/support/FakeFrame.h"
#include "ui/graph/CurvePointsWindow.h"
#include "ui/graph/ValueDialog.h"

namespace {

ProjectDocument Project(std::vector<std::string> expressions) {
  ProjectDocument project;
  project.Settings.XFrom = "-2";
  project.Settings.XTo = "2";
  for (size_t i = 0; i < expressions.size(); ++i) {
    project.Functions.push_back({std::to_string(i + 1), expressions[i]});
  }
  return project;
}

QStringList Texts(const QTreeWidget& list, int column) {
  QStringList texts;
  for (int i = 0; i < list.topLevelItemCount(); ++i) texts << list.topLevelItem(i)->text(column);
  return texts;
}

class CurvePointsWindow : public ::testing::Test {
 protected:
  void SetUp() override { SetRegionalDecimalSeparator(','); }
  FakeFrame frame;
};

// The window lists the points the core found, in the user's separator, and hands the same text to
// the clipboard (line feeds) and to a file (the value table's CR LF).
TEST_F(CurvePointsWindow, ListsCopiesAndSavesThePoints) {
  TCurvePoints* window = ShowCurvePoints(frame.Context(), frame.Parser, "P", Project({"x^2-2"}));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Kurvenpunkte (P)");
  EXPECT_EQ(Texts(*window->ListView1, 1),
            QStringList({"Nullstelle", "y-Achsenabschnitt", "Tiefpunkt", "Nullstelle"}));
  EXPECT_EQ(Texts(*window->ListView1, 2), QStringList({"-1,41421356", "0", "0", "1,41421356"}));
  window->Kopieren1->trigger();
  const QString lines =
      "1\tNullstelle\t-1,41421356\t0\n1\ty-Achsenabschnitt\t0\t-2\n"
      "1\tTiefpunkt\t0\t-2\n1\tNullstelle\t1,41421356\t0\n";
  EXPECT_EQ(QApplication::clipboard()->text(), "Funktion\tArt\tx\ty\n" + lines);

  QTemporaryDir dir;
  frame.Questions.FileAnswers.push_back(FileChoice{dir.filePath("p.txt"), 1});
  window->Wertetabellespeichernunter1Click();
  std::ifstream in(dir.filePath("p.txt").toStdString(), std::ios::binary);
  std::stringstream saved;
  saved << in.rdbuf();
  EXPECT_EQ(QString::fromStdString(saved.str()),
            QString("Funktion\tArt\tx\ty\n" + lines).replace("\n", "\r\n"));
}

// The list keeps clear of the graph as far as the area allows.
TEST(CurvePointsPlace, BesideTheGraphWhereThereIsRoom) {
  const QRect area(0, 0, 1000, 600);
  const struct {
    QRect Graph;
    QSize Size;
    QPoint Expected;
  } cases[] = {
      {{0, 0, 640, 480}, {300, 400}, {640, 0}},      // room on the right
      {{100, 50, 640, 480}, {400, 400}, {600, 50}},  // at the area's right edge
      {{0, 300, 640, 480}, {300, 400}, {640, 200}},  // moved up to fit
      {{0, 0, 640, 480}, {1200, 700}, {0, 0}},       // larger than the area: its top left
  };
  for (const auto& c : cases) EXPECT_EQ(BesideGraph(area, c.Graph, c.Size), c.Expected);
}

// x as the user types it; the engine's value or message for every function.
TEST_F(CurvePointsWindow, ComputesEveryFunctionAtATypedX) {
  const ProjectDocument project = Project({"x^2", "1/x", " ", "ln(x)"});
  const struct {
    QString X;
    QStringList Values;
  } cases[] = {
      {"1,5", {"2,25", "0,66666667", "0,40546511"}},
      {"0", {"0", "Division durch 0", "Log von X mit X <= 0"}},
  };
  TValueDialog dialog(frame.Parser, project, nullptr);
  dialog.show();
  for (const auto& c : cases) {
    dialog.Edit1->clear();
    QTest::keyClicks(dialog.Edit1, c.X);
    QTest::keyClick(dialog.Edit1, Qt::Key_Return);
    EXPECT_EQ(Texts(*dialog.ListView1, 1), c.Values) << c.X.toStdString();
    EXPECT_EQ(Texts(*dialog.ListView1, 0).value(0), "f1(" + c.X + ")");
  }
}

}  // namespace
