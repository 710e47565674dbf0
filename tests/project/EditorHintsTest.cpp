#include "ui/project/EditorHints.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidget>

#include "platform/RegionalSettings.h"
#include "tests/support/FakeFrame.h"
#include "ui/project/ProjectWindow.h"

namespace {

class EditorHints : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRegionalDecimalSeparator('.');
    editor = qobject_cast<TMDIChild*>(
        CreateProjectWindow(frame.Context(), frame.Parser, frame.Shared, "Unbenannt 1", true));
    ASSERT_NE(editor, nullptr);
    editor->Button1->click();
    hint = editor->findChild<QLabel*>("ExpressionHint");
    ASSERT_NE(hint, nullptr);
  }
  bool Framed() const { return !editor->Edit1->styleSheet().isEmpty(); }

  FakeFrame frame;
  TMDIChild* editor = nullptr;
  QLabel* hint = nullptr;
};

TEST_F(EditorHints, TypingARefusedFunctionFramesTheFieldAndSaysWhy) {
  const std::pair<QString, QString> cases[] = {
      {"3x", "Zeichen 2: zwischen 3 und x fehlt ein Operator, z. B. 3*x"},
      {"3*x", ""},
      {"sqrt(x)", "Zeichen 1: sqrt ist unbekannt; x^0.5 berechnet die Wurzel"},
      {"   ", ""},
      {"x^-1", "Zeichen 3: x^-1: schreiben Sie x^(-1)"},
      {"", ""},
  };
  for (const auto& [text, message] : cases) {
    editor->Edit1->setText(text);
    EXPECT_EQ(hint->text(), message) << text.toStdString();
    EXPECT_EQ(Framed(), !message.isEmpty()) << text.toStdString();
  }
}

TEST_F(EditorHints, TheHintGoesWithTheFunctionField) {
  editor->Edit1->setText("3x");
  editor->ListView1->clearSelection();
  EXPECT_EQ(hint->text(), "");
}

TEST_F(EditorHints, TheColourColumnShowsASwatchOfTheColour) {
  QStyleOptionViewItem option;
  const QModelIndex cell = editor->ListView1->model()->index(0, 3);
  ASSERT_EQ(cell.data().toString(), "0");
  editor->ListView1->model()->setData(cell, "255");
  class Probe : public ColorSwatchDelegate {
   public:
    using ColorSwatchDelegate::initStyleOption;
  } probe;
  probe.initStyleOption(&option, cell);
  const QImage swatch = option.icon.pixmap(option.decorationSize).toImage();
  EXPECT_EQ(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2), QColor(255, 0, 0));
  EXPECT_EQ(option.text, "255");
}

}  // namespace
