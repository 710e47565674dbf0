#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "tests/support/NamedCases.h"
#include "ui/components/QelEdit.h"

namespace {

using qeltest::PrintTo;

const QStringList kFunctions = {"lg(x)", "ln(x)", "sin(x)"};

struct TypingCase {
  const char* name;
  QStringList data;
  QStringList exclusion;
  bool onlyIfUnequivocal;
  bool caseSensitiveExclusion;
  bool caseSensitiveData;
  const char* typed;
  const char* text;
  const char* selected;
};

class Typing : public ::testing::TestWithParam<TypingCase> {};

TEST_P(Typing, CompletesAsTyped) {
  const TypingCase& c = GetParam();
  TQelEdit edit;
  edit.SetDataList(c.data);
  edit.SetExclusionList(c.exclusion);
  edit.SetOnlyIfUnequivocal(c.onlyIfUnequivocal);
  edit.SetCaseSensitiveExlusion(c.caseSensitiveExclusion);
  edit.SetCaseSensitiveData(c.caseSensitiveData);
  QTest::keyClicks(&edit, c.typed);
  EXPECT_EQ(edit.text(), QString(c.text));
  EXPECT_EQ(edit.selectedText(), QString(c.selected));
  EXPECT_EQ(edit.cursorPosition(), edit.text().size());
}

INSTANTIATE_TEST_SUITE_P(
    QelEdit, Typing,
    ::testing::Values(
        TypingCase{
            "FirstMatchInListOrder", kFunctions, {}, false, true, false, "l", "lg(x)", "g(x)"},
        TypingCase{
            "TypingOnReplacesSuggestion", kFunctions, {}, false, true, false, "ln", "ln(x)", "(x)"},
        TypingCase{"AmbiguousNotCompletedWhenUnequivocal",
                   kFunctions,
                   {},
                   true,
                   true,
                   false,
                   "l",
                   "l",
                   ""},
        TypingCase{"UnequivocalCompletes", kFunctions, {}, true, true, false, "ln", "ln(x)", "(x)"},
        TypingCase{"CaseInsensitiveTakesEntryLetters",
                   kFunctions,
                   {},
                   false,
                   true,
                   false,
                   "SI",
                   "sin(x)",
                   "n(x)"},
        TypingCase{
            "CaseSensitiveDataRefusesOtherCase", kFunctions, {}, false, true, true, "SI", "SI", ""},
        TypingCase{
            "ExclusionPrefixSuppresses", kFunctions, {"si"}, false, true, false, "s", "s", ""},
        TypingCase{"ExclusionIsCaseSensitive",
                   kFunctions,
                   {"si"},
                   false,
                   true,
                   false,
                   "S",
                   "sin(x)",
                   "in(x)"},
        TypingCase{
            "ExclusionCaseInsensitive", kFunctions, {"si"}, false, false, false, "S", "S", ""},
        TypingCase{"ExclusionLongerThanTypedOnlyByPrefix",
                   kFunctions,
                   {"sinh"},
                   false,
                   true,
                   false,
                   "sin",
                   "sin",
                   ""},
        TypingCase{
            "ShorterEntryNeverMatches", {"ab", "abcd"}, {}, false, true, false, "abc", "abcd", "d"},
        TypingCase{"NoMatchLeavesText", kFunctions, {}, false, true, false, "q", "q", ""}),
    qeltest::CaseName());

struct ReleaseCase {
  const char* name;
  Qt::Key key;
  bool completes;
};

class KeyRelease : public ::testing::TestWithParam<ReleaseCase> {};

// Keys that move, delete or switch state must not complete again, or deleting a suggestion would
// bring it straight back.
TEST_P(KeyRelease, CompletesOnlyForContentKeys) {
  const ReleaseCase& c = GetParam();
  TQelEdit edit;
  edit.SetDataList(kFunctions);
  edit.setText("l");
  QTest::keyRelease(&edit, c.key);
  EXPECT_EQ(edit.text(), c.completes ? QString("lg(x)") : QString("l"));
}

INSTANTIATE_TEST_SUITE_P(
    QelEdit, KeyRelease,
    ::testing::Values(
        ReleaseCase{"Backspace", Qt::Key_Backspace, false},
        ReleaseCase{"Delete", Qt::Key_Delete, false}, ReleaseCase{"Return", Qt::Key_Return, false},
        ReleaseCase{"Enter", Qt::Key_Enter, false}, ReleaseCase{"Shift", Qt::Key_Shift, false},
        ReleaseCase{"CapsLock", Qt::Key_CapsLock, false},
        ReleaseCase{"Escape", Qt::Key_Escape, false}, ReleaseCase{"Space", Qt::Key_Space, false},
        ReleaseCase{"PageUp", Qt::Key_PageUp, false}, ReleaseCase{"Home", Qt::Key_Home, false},
        ReleaseCase{"Left", Qt::Key_Left, false}, ReleaseCase{"Down", Qt::Key_Down, false},
        ReleaseCase{"Insert", Qt::Key_Insert, false},
        ReleaseCase{"SuperLeft", Qt::Key_Super_L, false}, ReleaseCase{"Menu", Qt::Key_Menu, false},
        ReleaseCase{"F1", Qt::Key_F1, false}, ReleaseCase{"F12", Qt::Key_F12, false},
        ReleaseCase{"Control", Qt::Key_Control, true}, ReleaseCase{"Alt", Qt::Key_Alt, true},
        ReleaseCase{"Tab", Qt::Key_Tab, true}, ReleaseCase{"F13", Qt::Key_F13, true},
        ReleaseCase{"Digit", Qt::Key_7, true},
        ReleaseCase{"OpeningBracket", Qt::Key_ParenLeft, true}),
    qeltest::CaseName());

TEST(QelEdit, BackspaceRemovesSuggestionAndKeepsTypedText) {
  TQelEdit edit;
  edit.SetDataList(kFunctions);
  QTest::keyClicks(&edit, "l");
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), "l");
}

TEST(QelEdit, ControlAfterCompletionCollapsesSelectionToEnd) {
  TQelEdit edit;
  edit.SetDataList(kFunctions);
  QTest::keyClicks(&edit, "l");
  QTest::keyRelease(&edit, Qt::Key_Control);
  EXPECT_EQ(edit.text(), "lg(x)");
  EXPECT_FALSE(edit.hasSelectedText());
  EXPECT_EQ(edit.cursorPosition(), 5);
}

TEST(QelEdit, EmptyTextCompletesOnlyWithoutExclusions) {
  TQelEdit edit;
  edit.SetDataList(kFunctions);
  QTest::keyRelease(&edit, Qt::Key_Control);
  EXPECT_EQ(edit.text(), "lg(x)");
  EXPECT_EQ(edit.selectedText(), "lg(x)");

  TQelEdit excluding;
  excluding.SetDataList(kFunctions);
  excluding.SetExclusionList({"zzz"});
  QTest::keyRelease(&excluding, Qt::Key_Control);
  EXPECT_EQ(excluding.text(), "");
}

TEST(QelEdit, OnSelectAdjustsTextAndPosition) {
  TQelEdit edit;
  edit.SetDataList(kFunctions);
  QString seenText;
  int seenPos = -1;
  edit.SetOnSelect([&](TQelEdit& sender, QString& text, int& pos) {
    EXPECT_EQ(&sender, &edit);
    seenText = text;
    seenPos = pos;
    pos = 0;
  });
  QTest::keyClicks(&edit, "s");
  EXPECT_EQ(seenText, "sin(x)");
  EXPECT_EQ(seenPos, 1);
  EXPECT_EQ(edit.selectedText(), "sin(x)");

  edit.clear();
  edit.SetOnSelect([](TQelEdit&, QString& text, int& pos) {
    text = "sinus";
    pos = 99;
  });
  QTest::keyClicks(&edit, "s");
  EXPECT_EQ(edit.text(), "sinus");
  EXPECT_FALSE(edit.hasSelectedText());
}

TEST(QelEdit, ListsAreCopiedIn) {
  TQelEdit edit;
  QStringList data = {"abc"};
  edit.SetDataList(data);
  data.clear();
  QTest::keyClicks(&edit, "a");
  EXPECT_EQ(edit.text(), "abc");
}

struct ExitCase {
  const char* name;
  bool exitAfterTab;
  bool byClick;
  bool keepsFocus;
};

class Leaving : public ::testing::TestWithParam<ExitCase> {};

TEST_P(Leaving, FocusFollowsExitAfterTab) {
  const ExitCase& c = GetParam();
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* edit = new TQelEdit(&window);
  auto* other = new QLineEdit(&window);
  layout->addWidget(edit);
  layout->addWidget(other);
  edit->SetExitAfterTab(c.exitAfterTab);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  edit->setFocus();
  QTest::keyClicks(edit, "q");
  int exits = 0;
  QObject::connect(edit, &QLineEdit::editingFinished, [&] { ++exits; });
  if (c.byClick) {
    other->setFocus(Qt::MouseFocusReason);
  } else {
    QTest::keyClick(edit, Qt::Key_Tab);
  }
  EXPECT_EQ(edit->hasFocus(), c.keepsFocus);
  EXPECT_EQ(exits, c.keepsFocus ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(QelEdit, Leaving,
                         ::testing::Values(ExitCase{"TabLeaves", true, false, false},
                                           ExitCase{"ClickLeaves", true, true, false},
                                           ExitCase{"TabKeepsFocus", false, false, true},
                                           ExitCase{"ClickKeepsFocus", false, true, true}),
                         qeltest::CaseName());

}  // namespace
