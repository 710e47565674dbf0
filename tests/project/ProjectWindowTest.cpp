#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "platform/RegionalSettings.h"
#include "tests/support/FakeFrame.h"
#include "tests/support/NamedCases.h"
#include "ui/platform/PathText.h"
#include "ui/project/ProjectWindow.h"

namespace {

using qeltest::PrintTo;

// The frame as the editor sees it, counting the hand-overs to graph generation and value tables.
class EditorFrame : public FakeFrame {
 public:
  std::vector<TMDIChild*> Graphs, Tables;
};

class ProjectWindow : public ::testing::Test {
 protected:
  void SetUp() override { SetRegionalDecimalSeparator('.'); }

  TMDIChild* Open(const QString& name, bool isNew) {
    TMDIChild* window =
        CreateProjectWindow(frame.Context(), frame.Parser, frame.Shared, name, isNew);
    QObject::connect(window, &TMDIChild::GraphWanted,
                     [this, window] { frame.Graphs.push_back(window); });
    QObject::connect(window, &TMDIChild::ValueTableWanted,
                     [this, window] { frame.Tables.push_back(window); });
    return window;
  }
  TMDIChild* New() { return Open("Unbenannt 1", true); }

  // A new window holding these expressions, selected and edited as a user would.
  TMDIChild* WithFunctions(const std::vector<QString>& expressions) {
    TMDIChild* window = New();
    for (const QString& expression : expressions) {
      window->Button1->click();
      window->Edit1->setText(expression);
    }
    return window;
  }

  static void ClearModified(TMDIChild& window) {
    const_cast<ProjectDocument&>(window.Document()).Modified = false;
  }

  QString PathOf(const char* name) const { return dir.filePath(name); }

  static std::vector<std::string> Numbers(const TMDIChild& window) {
    std::vector<std::string> numbers;
    for (const FunctionEntry& entry : window.Document().Functions) numbers.push_back(entry.Number);
    return numbers;
  }

  static std::vector<std::string> Expressions(const TMDIChild& window) {
    std::vector<std::string> texts;
    for (const FunctionEntry& entry : window.Document().Functions)
      texts.push_back(entry.Expression);
    return texts;
  }

  static int Selected(const TMDIChild& window) {
    const auto rows = window.ListView1->selectedItems();
    return rows.isEmpty() ? -1 : window.ListView1->indexOfTopLevelItem(rows.front());
  }

  EditorFrame frame;
  QTemporaryDir dir;
};

TEST_F(ProjectWindow, NewWindowStartsEmptyWithDeleteCommandsDisabled) {
  TMDIChild* window = New();
  EXPECT_EQ(window->objectName(), "MDIChild");
  EXPECT_EQ(window->windowTitle(), "Unbenannt 1");
  EXPECT_TRUE(window->Document().DateiName.empty());
  EXPECT_FALSE(window->Document().Modified);
  EXPECT_FALSE(window->Button2->isEnabled());
  EXPECT_FALSE(window->Loeschen1->isEnabled());
  EXPECT_FALSE(window->Funktionloeschen1->isEnabled());
  EXPECT_TRUE(window->Panel11->isVisible());
  EXPECT_FALSE(window->Panel10->isVisible());
  EXPECT_FALSE(window->CheckBox3->isEnabled());
  EXPECT_FALSE(window->Edit10->isEnabled());
  EXPECT_EQ(Open("Unbenannt 2", true)->objectName(), "MDIChild_1");
}

TEST_F(ProjectWindow, AddingAThirdEntryNumbersAndSelectsIt) {
  TMDIChild* window = WithFunctions({"x", "x^2"});
  ClearModified(*window);
  window->Hinzufuegen1->trigger();
  ASSERT_EQ(window->Document().Functions.size(), 3u);
  EXPECT_EQ(window->Document().Functions[2], (FunctionEntry{"3", "", "0.1", "0"}));
  EXPECT_EQ(Selected(*window), 2);
  EXPECT_TRUE(window->Panel10->isVisible());
  EXPECT_EQ(window->Edit1->text(), "");
  EXPECT_EQ(window->Edit3->text(), "0.1");
  EXPECT_TRUE(window->Document().Modified);
  EXPECT_EQ(window->ListView1->topLevelItem(2)->text(0), "3");
}

struct DeleteCase {
  const char* name;
  std::vector<QString> expressions;
  int remove;
  std::vector<std::string> left;
  int selected;  // -1: nothing selected, the hint panel shows
};

class Deleting : public ProjectWindow, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(Deleting, RenumbersAndReselects) {
  const DeleteCase& c = GetParam();
  TMDIChild* window = WithFunctions(c.expressions);
  window->ListView1->setCurrentItem(window->ListView1->topLevelItem(c.remove));
  ClearModified(*window);
  frame.Questions.MessageAnswers.push_back(PromptButton::Yes);
  window->Button2->click();
  ASSERT_EQ(frame.Questions.Messages.size(), 1u);
  EXPECT_EQ(frame.Questions.Messages[0].Text,
            "Möchten Sie die ausgewählte Funktion wirklich löschen?");
  EXPECT_EQ(frame.Questions.Messages[0].Caption, "Qel Graphics");
  EXPECT_EQ(Expressions(*window), c.left);
  std::vector<std::string> numbers;
  for (std::size_t n = 1; n <= c.left.size(); ++n) numbers.push_back(std::to_string(n));
  EXPECT_EQ(Numbers(*window), numbers);
  EXPECT_EQ(window->ListView1->topLevelItemCount(), static_cast<int>(c.left.size()));
  EXPECT_EQ(Selected(*window), c.selected);
  EXPECT_EQ(window->Panel10->isVisible(), c.selected >= 0);
  EXPECT_EQ(window->Button2->isEnabled(), c.selected >= 0);
  if (c.selected >= 0) {
    EXPECT_EQ(window->Edit1->text().toStdString(), c.left[c.selected]);
  }
  EXPECT_TRUE(window->Document().Modified);
}

INSTANTIATE_TEST_SUITE_P(ProjectWindow, Deleting,
                         ::testing::Values(DeleteCase{"Middle", {"a", "b", "c"}, 1, {"a", "c"}, 1},
                                           DeleteCase{"Last", {"a", "b", "c"}, 2, {"a", "b"}, 1},
                                           DeleteCase{"First", {"a", "b", "c"}, 0, {"b", "c"}, 0},
                                           DeleteCase{"Only", {"a"}, 0, {}, -1}),
                         qeltest::CaseName());

TEST_F(ProjectWindow, DeletingAnsweredNoChangesNothing) {
  TMDIChild* window = WithFunctions({"a", "b"});
  ClearModified(*window);
  frame.Questions.MessageAnswers.push_back(PromptButton::No);
  window->Funktionloeschen1->trigger();
  EXPECT_EQ(Expressions(*window), (std::vector<std::string>{"a", "b"}));
  EXPECT_FALSE(window->Document().Modified);
}

TEST_F(ProjectWindow, EditsKeepTheDocumentInStepAtOnce) {
  TMDIChild* window = WithFunctions({"a", "b"});
  window->ListView1->setCurrentItem(window->ListView1->topLevelItem(0));
  QTest::keyClicks(window->Edit1, "+1");
  window->Edit3->setText("0.5");
  window->Edit4->setText("-3");
  window->Edit9->setText("200");
  const ProjectDocument& document = window->Document();
  EXPECT_EQ(document.Functions[0].Expression, "a+1");
  EXPECT_EQ(document.Functions[0].StepWidth, "0.5");
  EXPECT_EQ(window->ListView1->topLevelItem(0)->text(1), "a+1");
  EXPECT_EQ(window->ListView1->topLevelItem(0)->text(2), "0.5");
  EXPECT_EQ(document.Functions[1].Expression, "b");
  EXPECT_EQ(document.Settings.XFrom, "-3");
  EXPECT_EQ(document.Settings.OutputHeight, "200");
}

struct SettingsCase {
  const char* name;
  std::function<void(TMDIChild&)> act;
};

class SettingsChange : public ProjectWindow, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(SettingsChange, MarksModified) {
  TMDIChild* window = New();
  ASSERT_FALSE(window->Document().Modified);
  GetParam().act(*window);
  EXPECT_TRUE(window->Document().Modified);
}

INSTANTIATE_TEST_SUITE_P(
    ProjectWindow, SettingsChange,
    ::testing::Values(SettingsCase{"GridStep", [](TMDIChild& w) { w.Edit2->setText("2"); }},
                      SettingsCase{"XTo", [](TMDIChild& w) { w.Edit5->setText("5"); }},
                      SettingsCase{"Width", [](TMDIChild& w) { w.Edit8->setText("64"); }},
                      SettingsCase{"Axes", [](TMDIChild& w) { w.CheckBox1->click(); }},
                      SettingsCase{"Grid", [](TMDIChild& w) { w.CheckBox2->click(); }},
                      SettingsCase{"Linienweise", [](TMDIChild& w) { w.RadioButton2->click(); }}),
    qeltest::CaseName());

struct SelectCase {
  const char* name;
  const char* expression;
  const char* stepWidth;
  bool modified;
};

class Selecting : public ProjectWindow, public ::testing::WithParamInterface<SelectCase> {};

// Showing an entry fills the edits, which counts as an edit whenever their texts change.
TEST_P(Selecting, MarksModifiedOnlyWhenTheEditsChange) {
  const SelectCase& c = GetParam();
  const QString path = PathOf("select.qgp");
  TMDIChild* writer = WithFunctions({c.expression});
  writer->Edit3->setText(c.stepWidth);
  frame.Questions.FileAnswers.push_back(FileChoice{path, 1});
  writer->SpeichernunterClick();
  TMDIChild* window = Open(path, false);
  ASSERT_FALSE(window->Document().Modified);
  window->ListView1->setCurrentItem(window->ListView1->topLevelItem(0));
  EXPECT_EQ(window->Document().Modified, c.modified);
}

INSTANTIATE_TEST_SUITE_P(ProjectWindow, Selecting,
                         ::testing::Values(SelectCase{"SameTexts", "", "0.01", false},
                                           SelectCase{"OtherExpression", "x", "0.01", true},
                                           SelectCase{"OtherStepWidth", "", "0.1", true}),
                         qeltest::CaseName());

struct DerivativeBoxCase {
  const char* name;
  bool first, second;  // ticked on the first function, the second function left alone
};

class DerivativeBoxes : public ProjectWindow,
                        public ::testing::WithParamInterface<DerivativeBoxCase> {};

TEST_P(DerivativeBoxes, SetTheSelectedFunctionsSwitchesAndShowThem) {
  const DerivativeBoxCase& c = GetParam();
  TMDIChild* window = WithFunctions({"x^2", "x"});
  window->ListView1->setCurrentItem(window->ListView1->topLevelItem(0));
  ClearModified(*window);
  if (c.first) window->CheckBox4->click();
  if (c.second) window->CheckBox5->click();
  EXPECT_EQ(window->Document().Modified, c.first || c.second);
  const FunctionEntry& entry = window->Document().Functions[0];
  EXPECT_EQ(std::pair(entry.DrawFirstDerivative, entry.DrawSecondDerivative),
            std::pair(c.first, c.second));
  window->ListView1->setCurrentItem(window->ListView1->topLevelItem(1));
  EXPECT_FALSE(window->CheckBox4->isChecked() || window->CheckBox5->isChecked());
  window->ListView1->setCurrentItem(window->ListView1->topLevelItem(0));
  EXPECT_EQ(std::pair(window->CheckBox4->isChecked(), window->CheckBox5->isChecked()),
            std::pair(c.first, c.second));
}

INSTANTIATE_TEST_SUITE_P(ProjectWindow, DerivativeBoxes,
                         ::testing::Values(DerivativeBoxCase{"None", false, false},
                                           DerivativeBoxCase{"First", true, false},
                                           DerivativeBoxCase{"Second", false, true},
                                           DerivativeBoxCase{"Both", true, true}),
                         qeltest::CaseName());

struct ColorCase {
  const char* name;
  QToolButton* TMDIChild::*button;
  std::function<int32_t(const ProjectDocument&)> value;
};

class Colors : public ProjectWindow, public ::testing::WithParamInterface<ColorCase> {};

TEST_P(Colors, CancelStillModifiesAndAChoiceIsRemembered) {
  const ColorCase& c = GetParam();
  TMDIChild* window = WithFunctions({"x"});
  ClearModified(*window);
  const int32_t before = c.value(window->Document());
  frame.Questions.ColorAnswers = {std::nullopt, 0x123456u, 0x654321u};
  QToolButton* button = window->*c.button;
  button->click();
  EXPECT_TRUE(window->Document().Modified);
  EXPECT_EQ(c.value(window->Document()), before);
  button->click();
  EXPECT_EQ(c.value(window->Document()), 0x123456);
  button->click();
  EXPECT_EQ(frame.Questions.ColorRequests, (std::vector<uint32_t>{0, 0, 0x123456u}));
  EXPECT_EQ(c.value(window->Document()), 0x654321);
}

INSTANTIATE_TEST_SUITE_P(
    ProjectWindow, Colors,
    ::testing::Values(
        ColorCase{"Function", &TMDIChild::Button3,
                  [](const ProjectDocument& d) { return std::stoi(d.Functions[0].Color); }},
        ColorCase{"Background", &TMDIChild::Button4,
                  [](const ProjectDocument& d) { return d.Settings.BackgroundColor; }},
        ColorCase{"Axes", &TMDIChild::Button5,
                  [](const ProjectDocument& d) { return d.Settings.AxisColor; }},
        ColorCase{"Grid", &TMDIChild::Button6,
                  [](const ProjectDocument& d) { return d.Settings.GridColor; }}),
    qeltest::CaseName());

TEST_F(ProjectWindow, FunctionColorShowsInTheListAsDecimalText) {
  TMDIChild* window = WithFunctions({"x"});
  frame.Questions.ColorAnswers = {0x0000FFu};
  window->Button3->click();
  EXPECT_EQ(window->Document().Functions[0].Color, "255");
  EXPECT_EQ(window->ListView1->topLevelItem(0)->text(3), "255");
}

// The window's controls must be able to take the focus for the leaving handlers.
class Focused : public ProjectWindow {
 protected:
  TMDIChild* ShownWithLineMode() {
    TMDIChild* window = WithFunctions({"x"});
    frame.Area.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&frame.Area));
    window->RadioButton2->click();
    return window;
  }
  static void Leave(QLineEdit& edit, QWidget& next) {
    edit.setFocus(Qt::TabFocusReason);
    next.setFocus(Qt::TabFocusReason);
  }
};

struct DeviationCase {
  const char* name;
  char separator;
  const char* typed;
  const char* kept;
  bool boxOn;
};

class DeviationExit : public Focused, public ::testing::WithParamInterface<DeviationCase> {};

TEST_P(DeviationExit, KeepsOnlyCanonicalNumbers) {
  const DeviationCase& c = GetParam();
  SetRegionalDecimalSeparator(c.separator);
  TMDIChild* window = ShownWithLineMode();
  window->CheckBox3->click();
  window->Edit10->setText(c.typed);
  Leave(*window->Edit10, *window->Edit2);
  EXPECT_EQ(window->Edit10->text(), c.kept);
  EXPECT_EQ(window->Document().Settings.Deviation, c.kept);
  EXPECT_EQ(window->CheckBox3->isChecked(), c.boxOn);
  EXPECT_EQ(window->Document().Settings.UseDeviation, c.boxOn);
}

INSTANTIATE_TEST_SUITE_P(
    ProjectWindow, DeviationExit,
    ::testing::Values(DeviationCase{"Whole", '.', "5", "5", true},
                      DeviationCase{"Letters", '.', "abc", "0", false},
                      DeviationCase{"TrailingZero", '.', "5.0", "0", false},
                      DeviationCase{"Zero", '.', "0", "0", false},
                      DeviationCase{"Empty", '.', "", "0", false},
                      DeviationCase{"CommaLocaleComma", ',', "0,5", "0,5", true},
                      DeviationCase{"CommaLocalePoint", ',', "0.5", "0", false}),
    qeltest::CaseName());

TEST_F(Focused, SwitchingDeviationOffResetsIt) {
  TMDIChild* window = ShownWithLineMode();
  EXPECT_TRUE(window->CheckBox3->isEnabled());
  EXPECT_TRUE(window->Edit10->isEnabled());
  window->CheckBox3->click();
  window->Edit10->setText("3");
  window->CheckBox3->click();
  EXPECT_EQ(window->Edit10->text(), "0");
  EXPECT_EQ(window->Document().Settings.Deviation, "0");
  EXPECT_FALSE(window->Document().Settings.UseDeviation);
}

TEST_F(Focused, PunktweiseDisablesDeviationButKeepsIt) {
  TMDIChild* window = ShownWithLineMode();
  window->CheckBox3->click();
  window->Edit10->setText("3");
  window->RadioButton1->click();
  EXPECT_FALSE(window->CheckBox3->isEnabled());
  EXPECT_FALSE(window->Edit10->isEnabled());
  EXPECT_TRUE(window->Document().Settings.Pointwise);
  EXPECT_TRUE(window->Document().Settings.UseDeviation);
  EXPECT_EQ(window->Document().Settings.Deviation, "3");
}

TEST_F(Focused, LeavingAnEmptyExpressionHintsButKeepsIt) {
  TMDIChild* window = ShownWithLineMode();
  window->Edit1->setText("   ");
  Leave(*window->Edit1, *window->Edit3);
  ASSERT_EQ(frame.Questions.Messages.size(), 1u);
  EXPECT_EQ(frame.Questions.Messages[0].Text,
            "Sie sollten die Funktionsdefinition nicht frei lassen, da so keine\nFunktion "
            "dargestellt wird.");
  EXPECT_EQ(frame.Questions.Messages[0].Icon, PromptIcon::Information);
  EXPECT_EQ(window->Document().Functions[0].Expression, "   ");

  window->Edit1->setText("x");
  Leave(*window->Edit1, *window->Edit3);
  EXPECT_EQ(frame.Questions.Messages.size(), 1u);
}

TEST_F(Focused, EnterInTheListMovesToTheExpression) {
  TMDIChild* window = ShownWithLineMode();
  window->ListView1->setFocus();
  QTest::keyClick(window->ListView1, Qt::Key_Return);
  EXPECT_TRUE(window->Edit1->hasFocus());
}

TEST_F(ProjectWindow, SaveDialogAsksBeforeReplacingAndBeforeCreating) {
  TMDIChild* window = New();
  frame.Questions.FileAnswers.push_back(std::nullopt);
  window->SpeichernClick();
  ASSERT_EQ(frame.Questions.FileDialogs.size(), 1u);
  const FileDialogSpec& spec = frame.Questions.FileDialogs[0];
  EXPECT_EQ(spec.Title, "Projektdatei speichern unter");
  EXPECT_EQ(spec.Filter, "Qel Graphics  (*.qgp)|*.qgp");
  EXPECT_EQ(spec.DefaultExt, "*.qpg");
  EXPECT_TRUE(spec.AskBeforeReplacing);
  EXPECT_TRUE(spec.AskBeforeCreating);
  EXPECT_EQ(window->windowTitle(), "Unbenannt 1");
}

TEST_F(ProjectWindow, ListShowsEveryColumnAndClickingARowDoesNotScrollIt) {
  TMDIChild* window = WithFunctions({"x", "sin(x) * 5 + cos(x) * 3 + tan(x) / 7 + abs(x) * 1000"});
  window->resize(724, 440);
  QApplication::processEvents();
  QTreeWidget* list = window->ListView1;
  const QHeaderView* header = list->header();
  const QRect row = list->visualItemRect(list->topLevelItem(1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(1) + 5, row.center().y()));
  ASSERT_EQ(window->Edit1->text(), "sin(x) * 5 + cos(x) * 3 + tan(x) / 7 + abs(x) * 1000");
  for (int column = 0; column < 4; ++column) {
    const int left = header->sectionViewportPosition(column);
    EXPECT_GE(left, 0) << column;
    EXPECT_LE(left + header->sectionSize(column), list->viewport()->width()) << column;
  }
  // The short columns show their headings whole.
  const QFontMetrics metrics(header->font());
  for (const int column : {0, 2, 3})
    EXPECT_GE(header->sectionSize(column),
              metrics.horizontalAdvance(list->headerItem()->text(column)))
        << column;
}

TEST_F(ProjectWindow, SaveAndReopenKeepsEveryText) {
  const QString path = PathOf("Übung.qgp");
  TMDIChild* window = WithFunctions({"sin(x) * 2", "", "€ä"});
  window->Edit3->setText("0,25");
  window->Edit2->setText("0.5");
  window->RadioButton2->click();
  window->CheckBox3->click();
  window->Edit10->setText("7");
  frame.Questions.ColorAnswers = {0x00FF00u};
  window->Button4->click();
  frame.Questions.FileAnswers.push_back(FileChoice{path, 1});
  window->SpeichernClick();
  EXPECT_EQ(window->windowTitle(), path);
  EXPECT_FALSE(window->Document().Modified);

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("\r\n\x80\xE4\r\n"));

  TMDIChild* reopened = Open(path, false);
  EXPECT_EQ(reopened->Document().Settings, window->Document().Settings);
  EXPECT_EQ(reopened->Document().Functions, window->Document().Functions);
  EXPECT_FALSE(reopened->Document().Modified);
  EXPECT_EQ(reopened->windowTitle(), path);
  EXPECT_EQ(reopened->DateiName->text(), path);
  EXPECT_EQ(reopened->size(), QSize(724, 440));
  EXPECT_EQ(reopened->ListView1->topLevelItem(2)->text(1), "€ä");
  EXPECT_EQ(reopened->Edit10->text(), "7");
  EXPECT_TRUE(reopened->Edit10->isEnabled());

  reopened->Edit5->setText("11");
  reopened->SpeichernClick();
  EXPECT_EQ(frame.Questions.FileDialogs.size(), 1u);
  EXPECT_FALSE(reopened->Document().Modified);
}

// "Speichern" writes an opened project back under its name, whatever bytes the name holds.
TEST_F(ProjectWindow, SavingAnOpenedProjectAsksForNoNameWhateverItsBytes) {
  for (const QByteArray& name : {QByteArray("einfach.qgp"), QByteArray("\xFF\xFE.qgp")}) {
    const QString path = PathFromBytes(QFile::encodeName(dir.path()) + "/" + name);
    TMDIChild* window = WithFunctions({"x"});
    frame.Questions.FileAnswers.push_back(FileChoice{path, 1});
    window->SpeichernClick();
    TMDIChild* reopened = Open(path, false);
    reopened->Edit5->setText("11");
    const size_t dialogs = frame.Questions.FileDialogs.size();
    reopened->SpeichernClick();
    EXPECT_EQ(frame.Questions.FileDialogs.size(), dialogs) << name.constData();
    EXPECT_FALSE(reopened->Document().Modified);
  }
}

// A save over a file that changed on disk since it was read asks first; "Nein" keeps the file.
TEST_F(ProjectWindow, SavingOverAFileChangedOnDiskAsksFirst) {
  const QString path = PathOf("geteilt.qgp");
  TMDIChild* first = WithFunctions({"x"});
  frame.Questions.FileAnswers.push_back(FileChoice{path, 1});
  first->SpeichernClick();
  TMDIChild* reopened = Open(path, false);
  first->Edit5->setText("11");
  first->SpeichernClick();
  EXPECT_TRUE(frame.Questions.Messages.empty());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray saved = file.readAll();
  file.close();
  for (const PromptButton answer : {PromptButton::No, PromptButton::Yes}) {
    frame.Questions.MessageAnswers = {answer};
    reopened->Edit5->setText(answer == PromptButton::No ? "12" : "13");
    reopened->SpeichernClick();
    EXPECT_EQ(reopened->Document().Modified, answer == PromptButton::No);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll() == saved, answer == PromptButton::No);
    file.close();
  }
  ASSERT_EQ(frame.Questions.Messages.size(), 2u);
  EXPECT_TRUE(frame.Questions.Messages[0].Text.contains("wurde geändert"));
}

TEST_F(ProjectWindow, EditsRefuseCharactersTheFileCannotHold) {
  TMDIChild* window = WithFunctions({"x"});
  window->Edit1->insert(QString::fromUtf8("€"));
  window->Edit1->insert(QString::fromUtf8("→"));
  EXPECT_EQ(window->Edit1->text(), QString::fromUtf8("x€"));
  EXPECT_EQ(window->Document().Functions[0].Expression, "x\x80");
  window->Edit2->insert("1\n2");
  EXPECT_EQ(window->Edit2->text(), "1");
}

// A name that is no valid UTF-8 (from a file manager, an argument or a drop) still finds its file.
TEST_F(ProjectWindow, ANameOfAnyBytesOpensItsFile) {
  const QString path = PathFromBytes(QFile::encodeName(dir.path()) + "/\xFF.qgp");
  TMDIChild* window = WithFunctions({"sin(x)"});
  frame.Questions.FileAnswers.push_back(FileChoice{path, 1});
  window->SpeichernClick();
  ASSERT_FALSE(window->Document().Modified);
  EXPECT_EQ(Open(path, false)->Document().Functions, window->Document().Functions);
}

TEST_F(ProjectWindow, OpeningAMissingFileStartsEmptyUnderItsName) {
  const QString path = PathOf("neu.qgp");
  TMDIChild* window = Open(path, false);
  EXPECT_EQ(window->windowTitle(), path);
  EXPECT_EQ(window->Document().DateiName, path.toStdString());
  EXPECT_TRUE(window->Document().Functions.empty());
  EXPECT_FALSE(window->Document().Modified);
  frame.Questions.FileAnswers.push_back(std::nullopt);
  window->SpeichernClick();
  EXPECT_EQ(frame.Questions.FileDialogs.size(), 1u);
}

TEST_F(ProjectWindow, ABadCountLineKeepsTheSettingsReadSoFar) {
  const QString path = PathOf("kaputt.qgp");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "x\r\nx\r\n255\r\n0\r\n0\r\n1\r\n0\r\n2\r\n0\r\n-1\r\n1\r\n-2\r\n2\r\n100\r\n100\r\n"
      "0.5\r\n");
  file.close();
  TMDIChild* window = Open(path, false);
  ASSERT_EQ(frame.Questions.Messages.size(), 1u);
  EXPECT_EQ(frame.Questions.Messages[0].Text, "'' is not a valid integer value.");
  EXPECT_TRUE(window->Document().DateiName.empty());
  EXPECT_EQ(window->Edit4->text(), "-1");
  EXPECT_FALSE(window->CheckBox1->isChecked());
  EXPECT_TRUE(window->RadioButton2->isChecked());
  EXPECT_TRUE(window->CheckBox3->isChecked());
  EXPECT_EQ(window->Edit10->text(), "0.5");
}

// A pipe is no new project, and a file far beyond any project is refused unread, with the reason.
TEST_F(ProjectWindow, UnreadableFilesAreReportedNotOpenedEmpty) {
  const QString fifo = PathOf("pipe.qgp");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString huge = PathOf("huge.qgp");
  QFile file(huge);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_TRUE(file.resize(qint64{1} << 30));
  file.close();
  const std::pair<QString, QString> cases[] = {
      {fifo, "Cannot open file " + fifo + "."},
      {huge, "Cannot open file " + huge +
                 "\n\nDie Datei ist größer als 256 MB und kann kein Projekt sein."},
  };
  for (const auto& [path, message] : cases) {
    frame.Questions.Messages.clear();
    TMDIChild* window = Open(path, false);
    ASSERT_EQ(frame.Questions.Messages.size(), 1u);
    EXPECT_EQ(frame.Questions.Messages[0].Text, message);
    EXPECT_TRUE(window->Document().DateiName.empty());
  }
}

struct CloseCase {
  const char* name;
  std::vector<PromptButton> answers;
  std::optional<const char*> saveAs;  // the save dialog's answer, when it is shown
  bool closes;
  bool saved;
};

class Closing : public ProjectWindow, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(Closing, AsksForModifiedProjects) {
  const CloseCase& c = GetParam();
  QPointer<TMDIChild> window = WithFunctions({"x"});
  frame.Questions.MessageAnswers.assign(c.answers.begin(), c.answers.end());
  const QString path = c.saveAs ? PathOf(*c.saveAs) : QString();
  if (c.saveAs) frame.Questions.FileAnswers.push_back(FileChoice{path, 1});
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_GE(frame.Questions.Messages.size(), 1u);
  EXPECT_EQ(frame.Questions.Messages[0].Caption, "Projekt geändert");
  EXPECT_EQ(frame.Questions.Messages[0].Text, "Möchten Sie die Änderungen speichern?");
  EXPECT_EQ(window.isNull(), c.closes);
  if (!c.closes) {
    EXPECT_TRUE(window->Document().Modified);
  }
  EXPECT_EQ(!path.isEmpty() && QFile::exists(path), c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    ProjectWindow, Closing,
    ::testing::Values(CloseCase{"Cancel", {PromptButton::Cancel}, std::nullopt, false, false},
                      CloseCase{"No", {PromptButton::No}, std::nullopt, true, false},
                      CloseCase{"YesSaved", {PromptButton::Yes}, "a.qgp", true, true},
                      CloseCase{
                          "YesFailedSave", {PromptButton::Yes}, "no/such/dir/a.qgp", false, false}),
    qeltest::CaseName());

TEST_F(ProjectWindow, YesWithCancelledSaveDialogKeepsTheWindow) {
  QPointer<TMDIChild> window = WithFunctions({"x"});
  frame.Questions.MessageAnswers.push_back(PromptButton::Yes);
  frame.Questions.FileAnswers.push_back(std::nullopt);
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(window.isNull());
  EXPECT_TRUE(window->Document().Modified);
}

TEST_F(ProjectWindow, UnmodifiedWindowClosesWithoutQuestion) {
  QPointer<TMDIChild> window = New();
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_TRUE(frame.Questions.Messages.empty());
}

struct CheckCase {
  const char* name;
  const char* xFrom;
  const char* width;
  const char* message;  // empty: the check passes and the hand-over follows
};

class Commands : public ProjectWindow, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(Commands, CheckSettingsBeforeHandingOver) {
  const CheckCase& c = GetParam();
  TMDIChild* window = WithFunctions({"x"});
  window->Edit4->setText(c.xFrom);
  window->Edit8->setText(c.width);
  frame.Shared.GenerationCancelled = true;
  window->Funktionsgrapherstellen1Click();
  window->Wertetabelleanzeigen1Click();
  EXPECT_FALSE(frame.Shared.GenerationCancelled);
  const bool passes = *c.message == '\0';
  EXPECT_EQ(frame.Graphs.size(), passes ? 1u : 0u);
  EXPECT_EQ(frame.Tables.size(), passes ? 1u : 0u);
  if (passes) return;
  ASSERT_EQ(frame.Questions.Messages.size(), 2u);
  for (const auto& message : frame.Questions.Messages) {
    EXPECT_EQ(message.Caption, "Eingabefehler");
    EXPECT_EQ(message.Text, QString::fromUtf8(c.message));
    EXPECT_EQ(message.Icon, PromptIcon::Exclamation);
  }
}

INSTANTIATE_TEST_SUITE_P(
    ProjectWindow, Commands,
    ::testing::Values(
        CheckCase{"Passes", "-10", "640", ""},
        CheckCase{"EmptyRange", "10", "640", "Bitte überprüfen Sie den Bereich der X-Werte."},
        CheckCase{"TooNarrow", "-10", "9",
                  "Die Ausgabegröße kann nicht kleiner als 10 sein und darf die aktuelle "
                  "Bildschirmauflösung nicht überschreiten."}),
    qeltest::CaseName());

TEST_F(ProjectWindow, SizeFollowsTheWindowsRules) {
  TMDIChild* window = New();
  window->resize(300, 200);
  EXPECT_EQ(window->size(), QSize(724, 440));
  window->resize(900, 600);
  EXPECT_EQ(window->ListView1->height(), 600 - 8 - 100);
  EXPECT_EQ(window->ListView1->width(), window->Panel1->width() - 33);
  EXPECT_EQ(window->Button1->y(), 600 - 41 - 55);
  EXPECT_EQ(window->Panel4->width(), 474);
  EXPECT_EQ(window->Panel5->height(), 196);
}

TEST_F(ProjectWindow, MenuHasTheFunctionMenuAndItsOwnCommands) {
  TMDIChild* window = New();
  const QList<QAction*> menus = window->MainMenu1()->actions();
  ASSERT_EQ(menus.size(), 5);
  EXPECT_EQ(menus[1]->text(), "Fun&ktion");
  EXPECT_EQ(menus[2]->text(), "&Graph");
  for (const char* disabled :
       {"Graphenspeichernunter1", "Graphendrucken1", "Wertetabellespeichernunter1"}) {
    EXPECT_FALSE(window->MainMenu1()->findChild<QAction*>(disabled)->isEnabled()) << disabled;
  }
  window->MainMenu1()->findChild<QAction*>("Kontexthilfe1")->trigger();
  window->MainMenu1()->findChild<QAction*>("Funktionsyntax1")->trigger();
  EXPECT_EQ(frame.Questions.HelpTopics,
            (std::vector<QString>{"Funktionsgraphenerstellen", "Funktionssyntax"}));
}

}  // namespace
