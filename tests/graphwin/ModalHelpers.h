#pragma once

#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

// Runs `act` as soon as a modal dialog that is about to be shown has its own loop running; a dialog
// that `act` leaves open is a failure and is closed so the test goes on.
inline void WhenShown(QDialog& dialog, std::function<void()> act) {
  QTimer::singleShot(0, &dialog, [&dialog, act = std::move(act)] {
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    act();
    if (dialog.isVisible()) {
      ADD_FAILURE() << "the dialog was left open";
      dialog.reject();
    }
  });
}
