#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <array>
#include <tuple>

#include <gtest/gtest.h>

#include "tests/support/FakeFrame.h"
#include "ui/project/DisplaySettingsDialog.h"
#include "ui/project/ProjectWindow.h"

namespace {

using Switches = std::array<bool, 4>;  // axis numbers, legend, smooth, exact

// An editor at its default size whose project has the switches `on`, its dialog handled by `act`
// once shown; a dialog left open is a failure and is closed.
TMDIChild* EditSwitches(FakeFrame& frame, Switches on, std::function<void(TDisplaySettings&)> act) {
  auto* editor = qobject_cast<TMDIChild*>(
      CreateProjectWindow(frame.Context(), frame.Parser, frame.Shared, "Unbenannt 1", true));
  auto& s = const_cast<ProjectDocument&>(editor->Document()).Settings;
  std::tie(s.AxisNumbers, s.Legend, s.SmoothCurves, s.ExactCurves) = std::tuple_cat(on);
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<TDisplaySettings*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return ADD_FAILURE() << "no dialog";
    act(*dialog);
    if (!dialog->isVisible()) return;
    ADD_FAILURE() << "left open";
    dialog->reject();
  });
  editor->MainMenu1()->findChild<QAction*>("Darstellung1")->trigger();
  return editor;
}

// The item follows "Graphen erstellen"; the dialog shows each control whole.
TEST(DisplaySettings, ItemAndDialogOverTheEditorAtItsDefaultSize) {
  FakeFrame frame;
  TMDIChild* editor = EditSwitches(frame, {}, [](TDisplaySettings& dialog) {
    for (QWidget* c : dialog.findChildren<QWidget*>())
      EXPECT_TRUE(dialog.rect().contains(QRect(c->mapTo(&dialog, QPoint()), c->minimumSizeHint())));
    dialog.reject();
  });
  EXPECT_EQ(editor->MainMenu1()->findChild<QMenu*>("Projekt1")->actions().value(1)->objectName(),
            "Darstellung1");
}

TEST(DisplaySettings, OkWritesTheSwitchesAndOnlyAChangeMarksTheProject) {
  const struct {
    Switches Before;
    std::vector<const char*> Clicked;
    bool Confirm;
    Switches After;
    bool Modified;
  } cases[] = {
      {{}, {"AxisNumbersBox", "LegendBox", "SmoothBox", "ExactBox"}, true, {1, 1, 1, 1}, true},
      {{1, 1, 1, 1}, {"SmoothBox"}, true, {1, 1, 0, 1}, true},
      {{0, 1, 0, 0}, {"LegendBox", "LegendBox"}, true, {0, 1, 0, 0}, false},
      {{}, {"ExactBox", "AxisNumbersBox"}, false, {}, false}};
  for (const auto& c : cases) {
    FakeFrame frame;
    TMDIChild* editor = EditSwitches(frame, c.Before, [&](TDisplaySettings& dialog) {
      for (const char* name : c.Clicked)
        QTest::mouseClick(dialog.findChild<QCheckBox*>(name), Qt::LeftButton);
      QTest::mouseClick(c.Confirm ? dialog.OkButton : dialog.CancelButton, Qt::LeftButton);
    });
    const ProjectSettings& s = editor->Document().Settings;
    EXPECT_EQ((Switches{s.AxisNumbers, s.Legend, s.SmoothCurves, s.ExactCurves}), c.After);
    EXPECT_EQ(editor->Document().Modified, c.Modified) << c.Clicked.size();
    delete editor;
  }
}

}  // namespace
