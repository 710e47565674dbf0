#pragma once

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>

// Presses a key combination where the user would: on the widget that has the focus in the active
// window, so Qt's shortcut map decides which action, if any, it reaches. Qt reports a combination
// that matches more than one live action only as a warning and then triggers none of them; the
// warnings seen while pressing are kept, so a test can tell "ambiguous" from "not bound".
class KeyPresser {
 public:
  KeyPresser() { previous_ = qInstallMessageHandler(&KeyPresser::Record); }
  ~KeyPresser() { qInstallMessageHandler(previous_); }

  void Press(QWidget& window, const QKeySequence& keys) {
    window.activateWindow();
    (void)QTest::qWaitForWindowActive(&window);
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != &window) target = &window;
    QTest::keySequence(target, keys);
    QCoreApplication::processEvents();
  }

  static QStringList& Ambiguities() {
    static QStringList seen;
    return seen;
  }

 private:
  static void Record(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains("Ambiguous shortcut")) Ambiguities() << text;
    if (previous_) previous_(type, context, text);
  }
  static inline QtMessageHandler previous_ = nullptr;
};
