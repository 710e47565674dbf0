#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>

#include "platform/RegionalSettings.h"
#include "project/ProjectDocument.h"
#include "tests/support/ButtonLook.h"
#include "tests/support/FakeFrame.h"
#include "ui/platform/PathText.h"
#include "ui/shell/ChildForm.h"
#include "ui/valuetable/ValueTableOptionsDialog.h"
#include "ui/valuetable/ValueTableWindow.h"

namespace {

using Rows = std::vector<std::pair<QString, QString>>;

// Stands in for a project editor window: only its name and caption matter to the table windows.
class ProjectStandIn : public ChildForm {
 public:
  ProjectStandIn(QMdiArea* area, const QString& caption) : ChildForm(area, "MDIChild") {
    setWindowTitle(caption);
    show();
  }
  QMenuBar* MainMenu1() const override { return nullptr; }
};

Rows Shown(const TForm4* window) {
  Rows rows;
  for (int k = 0; k < window->ListView1->topLevelItemCount(); ++k) {
    const QTreeWidgetItem* item = window->ListView1->topLevelItem(k);
    rows.emplace_back(item->text(0), item->text(1));
  }
  return rows;
}

FunctionEntry Function(const std::string& expression, const std::string& step) {
  FunctionEntry entry;
  entry.Number = "1";
  entry.Expression = expression;
  entry.StepWidth = step;
  return entry;
}

class ValueTableWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRegionalDecimalSeparator('.');
    project = new ProjectStandIn(&frame.Area, "P");
    frame.Area.setActiveSubWindow(project);
  }

  // Opens the dialog for the project as the editor's command does, non-modally so keys can be sent.
  void Open() {
    frame.Area.setActiveSubWindow(project);
    dialog.Prepare(*project, document);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.Edit1->setFocus(Qt::OtherFocusReason);
  }

  void Type(const QString& text) {
    dialog.Edit1->selectAll();
    QTest::keyClicks(dialog.Edit1, text);
  }

  QList<TForm4*> Tables() const {
    QList<TForm4*> tables;
    for (QMdiSubWindow* child : frame.Area.subWindowList()) {
      if (auto* table = qobject_cast<TForm4*>(child)) tables << table;
    }
    return tables;
  }

  // One table through the dialog: the function, its step, the range and the decimals, then Enter.
  TForm4* Build(const std::string& expression, const std::string& step, const std::string& from,
                const std::string& to, const QString& decimals) {
    document.Functions = {Function(expression, step)};
    document.Settings.XFrom = from;
    document.Settings.XTo = to;
    Open();
    Type(decimals);
    QTest::keyClick(dialog.Edit1, Qt::Key_Return);
    return Tables().isEmpty() ? nullptr : Tables().back();
  }

  FakeFrame frame;
  TForm5 dialog{frame.Context(), frame.Parser, nullptr};
  ProjectDocument document;
  ProjectStandIn* project = nullptr;
};

struct TableCase {
  const char* name;
  std::string expression, step, from, to;
  Rows rows;
  QString message;
};

const QString kTooMany = QString::fromUtf8(
    "Es können nicht mehr als 2000 Werte angezeigt werden.\n\nErhöhen Sie die Schrittweite der "
    "Funktion oder verringern Sie die den X-Bereich.");

TEST_F(ValueTableWindows, BuildsTheTableOfTheChosenFunction) {
  const TableCase cases[] = {
      {"five exact rows",
       "x*2",
       "0.5",
       "-1",
       "1",
       {{"-1", "-2"}, {"-0.5", "-1"}, {"0", "0"}, {"0.5", "1"}, {"1", "2"}},
       ""},
      {"failed sample",
       "1/x",
       "0.5",
       "-1",
       "1",
       {{"-1", "-1"}, {"-0.5", "-2"}, {"0", "Error"}, {"0.5", "2"}, {"1", "1"}},
       ""},
      {"zero step", "x", "0", "-1", "1", {}, ""},
      {"rejected expression",
       "x+",
       "0.5",
       "-1",
       "1",
       {},
       QString::fromUtf8("Fehler in Funktionsdefinition:\n\nx+\n\nDie Werte dieser Funktion "
                         "können nicht erzeugt werden.")},
  };
  for (const TableCase& c : cases) {
    SCOPED_TRACE(c.name);
    frame.Questions.Messages.clear();
    TForm4* table = Build(c.expression, c.step, c.from, c.to, "2");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Shown(table), c.rows);
    EXPECT_EQ(frame.Questions.LastMessageText(), c.message);
    if (!c.message.isEmpty()) {
      EXPECT_EQ(frame.Questions.Messages.back().Caption, "Qel Graphics");
      EXPECT_EQ(frame.Questions.Messages.back().Icon, PromptIcon::Exclamation);
    }
    EXPECT_EQ(table->windowTitle(), "Wertetabelle (P)");
    EXPECT_TRUE(table->objectName().startsWith("Form4"));
    EXPECT_EQ(table->size(), QSize(219, 425));
    EXPECT_FALSE(dialog.isVisible());
  }
}

TEST_F(ValueTableWindows, SixteenDecimalsShowWholeWithoutAHorizontalScrollBar) {
  TForm4* table = Build("sin(x)", "0.1", "-10", "10", "16");
  ASSERT_NE(table, nullptr);
  QApplication::processEvents();
  const QTreeWidget& list = *table->ListView1;
  EXPECT_FALSE(list.horizontalScrollBar()->isVisible());
  EXPECT_LE(list.header()->length(), list.viewport()->width());
  const QFontMetrics metrics(list.font());
  for (int row = 0; row < list.topLevelItemCount(); ++row) {
    for (int column = 0; column < 2; ++column) {
      const QString text = list.topLevelItem(row)->text(column);
      ASSERT_LT(metrics.horizontalAdvance(text), list.columnWidth(column) - 6)
          << text.toStdString();
    }
  }
}

TEST_F(ValueTableWindows, StopsAfterTwoThousandRowsAndKeepsThem) {
  TForm4* table = Build("x", "0.001", "-10", "10", "3");
  ASSERT_NE(table, nullptr);
  const Rows rows = Shown(table);
  ASSERT_EQ(rows.size(), 2000u);
  EXPECT_EQ(rows.front().first, "-10");
  EXPECT_EQ(rows.back().first, "-8.001");
  EXPECT_EQ(frame.Questions.LastMessageText(), kTooMany);
}

TEST_F(ValueTableWindows, OkUsesTheTypedDecimalsAndTabClampsThem) {
  struct Case {
    QString typed;
    Qt::Key key;
    int precision;  // engine precision after the key, or -1 when no table is built
    QString shown;  // the edit afterwards
  } const cases[] = {
      {"25", Qt::Key_Return, 25, "25"}, {"25", Qt::Key_Tab, -1, "16"},
      {"abc", Qt::Key_Tab, -1, "2"},    {"-3", Qt::Key_Tab, -1, "0"},
      {"7", Qt::Key_Tab, -1, "7"},
  };
  document.Functions = {Function("x", "1")};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    frame.Parser.SetPrecision(8);
    Open();
    Type(c.typed);
    QTest::keyClick(dialog.Edit1, c.key);
    EXPECT_EQ(dialog.Edit1->text(), c.shown);
    if (c.precision >= 0) {
      EXPECT_EQ(frame.Parser.Precision(), c.precision);
    } else {
      EXPECT_EQ(frame.Parser.Precision(), 8);
      EXPECT_EQ(dialog.UpDown1->Position(), c.shown.toInt());
    }
  }
}

TEST_F(ValueTableWindows, NonIntegerDecimalsKeepTheDialogOpen) {
  document.Functions = {Function("x", "1")};
  Open();
  Type("2,5");
  QTest::keyClick(dialog.Edit1, Qt::Key_Return);
  ASSERT_EQ(frame.Questions.Messages.size(), 1u);
  const auto& box = frame.Questions.Messages.back();
  EXPECT_EQ(box.Text, "'2,5' is not a valid integer value.");
  EXPECT_EQ(box.Caption, "Qel Graphics 4");
  EXPECT_EQ(box.Icon, PromptIcon::Stop);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(Tables().isEmpty());
}

TEST_F(ValueTableWindows, DecimalsSurviveFromOneUseToTheNext) {
  Build("x", "1", "0", "1", "5");
  Open();
  EXPECT_EQ(dialog.Edit1->text(), "5");
}

TEST_F(ValueTableWindows, DialogButtonsAreDrawnAsButtons) {
  Open();
  for (QToolButton* button : {dialog.Button1, dialog.Button2, dialog.Button3})
    EXPECT_TRUE(DrawnAsButton(*button)) << button->text().toStdString();
}

TEST_F(ValueTableWindows, ArrowsStepWithinZeroToSixteen) {
  struct Case {
    int start, delta;
    QString shown;
  } const cases[] = {{2, 1, "3"}, {16, 1, "16"}, {0, -1, "0"}, {5, -1, "4"}};
  for (const Case& c : cases) {
    dialog.UpDown1->SetPosition(c.start);
    dialog.UpDown1->Step(c.delta);
    EXPECT_EQ(dialog.Edit1->text(), c.shown);
  }
}

TEST_F(ValueTableWindows, EscapeAndF1BuildNothing) {
  document.Functions = {Function("x", "1")};
  Open();
  QTest::keyClick(dialog.Edit1, Qt::Key_F1);
  EXPECT_EQ(frame.Questions.HelpTopics, std::vector<QString>{"Wertetabelle anzeigen"});
  EXPECT_TRUE(dialog.isVisible());
  QTest::keyClick(dialog.Edit1, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(Tables().isEmpty());
}

TEST_F(ValueTableWindows, ProjectWithoutFunctionsOffersNoOk) {
  document.Functions.clear();
  Open();
  EXPECT_FALSE(dialog.Button1->isEnabled());
  QTest::keyClick(dialog.Edit1, Qt::Key_Return);
  EXPECT_TRUE(Tables().isEmpty());
  EXPECT_TRUE(frame.Questions.Messages.empty());
}

TEST_F(ValueTableWindows, ANewTableReplacesTheOlderOneOfTheSameProject) {
  auto* other = new ProjectStandIn(&frame.Area, "Q");
  frame.Area.setActiveSubWindow(other);
  TForm4* otherTable =
      BuildValueTable(frame.Context(), frame.Parser, "Q", document.Settings, "1", "x");
  auto* graph = new ProjectStandIn(&frame.Area, "Garph (P)");
  Q_UNUSED(graph);

  document.Functions = {Function("x", "1"), Function("x*x", "1")};
  document.Settings.XFrom = "-1";
  document.Settings.XTo = "1";
  Open();
  QTest::keyClick(dialog.Edit1, Qt::Key_Return);
  Open();
  dialog.ComboBox1->setCurrentIndex(1);
  QTest::keyClick(dialog.Edit1, Qt::Key_Return);
  QApplication::processEvents();

  QStringList titles;
  for (TForm4* table : Tables()) titles << table->windowTitle();
  titles.sort();
  EXPECT_EQ(titles, QStringList({"Wertetabelle (P)", "Wertetabelle (Q)"}));
  EXPECT_TRUE(Tables().contains(otherTable));
  for (TForm4* table : Tables()) {
    if (table->windowTitle() == "Wertetabelle (P)") {
      EXPECT_EQ(Shown(table), (Rows{{"-1", "1"}, {"0", "0"}, {"1", "1"}}));
    }
  }
  EXPECT_EQ(frame.Area.subWindowList().size(), 5);
}

TEST_F(ValueTableWindows, ATableClosedWhileBuildingIsLeftAlone) {
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [this] {
    for (TForm4* table : Tables()) table->close();
  });
  closer.start(0);
  TForm4* table = BuildValueTable(frame.Context(), frame.Parser, "P", document.Settings, "1", "x");
  EXPECT_EQ(table, nullptr);
  EXPECT_TRUE(Tables().isEmpty());
}

TEST_F(ValueTableWindows, EnterWhileBuildingStartsNoSecondTable) {
  int presses = 0;
  QTimer presser;
  QObject::connect(&presser, &QTimer::timeout, [&] {
    if (!Tables().isEmpty() && presses++ == 0) QTest::keyClick(dialog.Edit1, Qt::Key_Return);
  });
  presser.start(0);
  TForm4* table = Build("x", "0.01", "-1", "1", "2");
  presser.stop();
  EXPECT_GT(presses, 0);
  EXPECT_EQ(Tables(), QList<TForm4*>{table});
  EXPECT_EQ(table->ListView1->topLevelItemCount(), 201);
}

struct ExportCase {
  const char* name;
  int filterIndex;
  QByteArray bytes;
};

TEST_F(ValueTableWindows, ExportsBothLayoutsThroughTheFramesCommand) {
  const ValueTable two = {{"1", "2"}, {"1.5", "Error"}};
  const ExportCase cases[] = {
      {"tab", 1, "x\tf(x)\r\n1\t2\r\n1.5\tError\r\n"},
      {"block", 2, "x-Werte:\r\n1\r\n1.5\r\n\r\nf(x)-Werte:\r\n2\r\nError\r\n"},
  };
  QTemporaryDir folder;
  for (const ExportCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto* table = new TForm4(frame.Context());
    table->SetRows(two);
    const QString path = folder.filePath("table.txt");
    frame.Questions.FileAnswers.push_back(FileChoice{path, c.filterIndex});
    ASSERT_TRUE(QMetaObject::invokeMethod(table, "Wertetabellespeichernunter1Click"));
    const FileDialogSpec& spec = frame.Questions.FileDialogs.back();
    EXPECT_EQ(spec.Title, "Wertetabelle speichern unter");
    EXPECT_EQ(spec.Filter, "TXT-Format (Tab)|*.txt|TXT-Format (Block)|*.txt");
    EXPECT_EQ(spec.FilterIndex, 1);
    EXPECT_EQ(spec.DefaultExt, "txt");
    EXPECT_TRUE(spec.AskBeforeReplacing);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), c.bytes);
    table->close();
  }
}

TEST_F(ValueTableWindows, ExportFailureIsReportedAndCancelWritesNothing) {
  QTemporaryDir folder;
  auto* table = new TForm4(frame.Context());
  table->SetRows({{"1", "2"}});

  frame.Questions.FileAnswers.push_back(std::nullopt);
  table->Wertetabellespeichernunter1Click();
  EXPECT_TRUE(QDir(folder.path()).isEmpty());
  EXPECT_TRUE(frame.Questions.Messages.empty());

  const QString path = folder.filePath("missing/table.txt");
  frame.Questions.FileAnswers.push_back(FileChoice{path, 1});
  table->Wertetabellespeichernunter1Click();
  ASSERT_EQ(frame.Questions.Messages.size(), 1u);
  EXPECT_EQ(frame.Questions.Messages.back().Text, "Cannot create file " + path + ".");
  EXPECT_EQ(frame.Questions.Messages.back().Icon, PromptIcon::Stop);
  EXPECT_EQ(table->Rows(), (ValueTable{{"1", "2"}}));
}

}  // namespace

namespace {

// A folder whose name is no valid UTF-8 takes a table like any other.
TEST_F(ValueTableWindows, ExportsIntoAFolderWhoseNameIsNoUtf8) {
  QTemporaryDir folder;
  const std::string odd = PathString(folder.path()) + "/Tabellen \xE4";
  ASSERT_TRUE(std::filesystem::create_directory(odd));
  auto* table = new TForm4(frame.Context());
  table->SetRows({{"1", "2"}});
  frame.Questions.FileAnswers.push_back(FileChoice{PathString(odd + "/t.txt"), 1});
  table->Wertetabellespeichernunter1Click();
  EXPECT_TRUE(frame.Questions.Messages.empty());
  EXPECT_TRUE(std::filesystem::is_regular_file(odd + "/t.txt"));
  table->close();
}

}  // namespace
