// Texts from project files end up in message boxes: markup in them must show as typed.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "ui/platform/QtPrompts.h"

namespace {

TEST(HostileMessages, MarkupInAMessageIsShownAsPlainText) {
  const QString text =
      "<h1>Titel</h1><a href=\"http://example.invalid\">Link</a><img src=\"x.png\">";
  QtPrompts prompts([](const QString&) {});
  Qt::TextFormat format = Qt::AutoText;
  QString shown;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    format = box->textFormat();
    for (const QLabel* label : box->findChildren<QLabel*>()) {
      if (label->text() != text) continue;
      shown = label->text();
      EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(prompts.Message(nullptr, "Fehler", text, {PromptButton::Ok}, PromptIcon::Stop),
            PromptButton::Ok);
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(shown, text);
}

}  // namespace
