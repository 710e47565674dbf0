#include <gtest/gtest.h>
#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "tests/project/HandOverFrame.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/app/FrameWiring.h"
#include "ui/app/MainForm.h"
#include "ui/project/ProjectWindow.h"

namespace {

// Every control of the editor that takes typed text.
QList<QWidget*> TextControls(const TMDIChild& editor) {
  QList<QWidget*> controls;
  for (QWidget* widget : editor.findChildren<QWidget*>())
    if ((qobject_cast<QLineEdit*>(widget) || qobject_cast<QAbstractSpinBox*>(widget)) &&
        widget->isVisibleTo(&editor) && widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus)
      controls << widget;
  return controls;
}

// The offscreen platform binds fewer editing keys than an X11 desktop, whose line edits claim
// Ctrl+E, Ctrl+K, Ctrl+U and more. Fitted to a control, this claims every key the way they do.
class ClaimsEveryKey : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride) event->accept();
    return false;
  }
};

QString TextOf(const QWidget* control) {
  if (const auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
  return qobject_cast<const QAbstractSpinBox*>(control)->text();
}

// The menus' keys reach their items whichever text control has the focus, and leave the text as
// it was; the controls' own editing keys that no menu claims still edit.
TEST(EditorKeys, MenuShortcutsWinOverTheEditingKeysOfEveryField) {
  ScriptedPrompts prompts;
  HandOverFrame frame(FrameEnvironment{&prompts, [] { return 1024; }, [] {}});
  frame.show();
  frame.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  frame.FileNew1Execute();
  auto* editor = qobject_cast<TMDIChild*>(frame.MdiArea()->currentSubWindow());
  ASSERT_NE(editor, nullptr);
  editor->Button1->click();
  editor->Edit1->setText("sin(x) * 5");
  const QList<QWidget*> controls = TextControls(*editor);
  ASSERT_GE(controls.size(), 9);
  ClaimsEveryKey asOnX11;
  for (QWidget* control : controls) control->installEventFilter(&asOnX11);

  const struct {
    const char* Keys;
    std::function<size_t()> Count;
  } cases[] = {
      {"Ctrl+E", [&] { return size_t(frame.Graphs); }},
      {"Ctrl+W", [&] { return size_t(frame.Tables); }},
      {"Ctrl+S", [&] { return prompts.FileDialogs.size(); }},
      {"Ctrl+O", [&] { return prompts.FileDialogs.size(); }},
      {"F1", [&] { return prompts.HelpTopics.size(); }},
      {"Ctrl+N", [&] { return size_t(frame.MdiArea()->subWindowList().size()); }},
  };
  for (QWidget* control : controls) {
    for (const auto& c : cases) {
      SCOPED_TRACE((control->objectName() + " " + c.Keys).toStdString());
      frame.MdiArea()->setActiveSubWindow(editor);
      control->setFocus();
      const QString text = TextOf(control);
      prompts.FileAnswers = {std::nullopt};
      const size_t before = c.Count();
      QTest::keySequence(control, QKeySequence(c.Keys));
      EXPECT_EQ(c.Count(), before + 1);
      EXPECT_EQ(TextOf(control), text);
    }
  }

  frame.MdiArea()->setActiveSubWindow(editor);
  editor->Edit1->setFocus();
  editor->Edit1->setCursorPosition(0);
  QTest::keySequence(editor->Edit1, QKeySequence(QKeySequence::SelectAll));
  EXPECT_EQ(editor->Edit1->selectedText(), "sin(x) * 5");
}

}  // namespace
