#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <array>
#include <tuple>

#include <gtest/gtest.h>

#include "project/DisplaySettingsDialog.h"
#include "project/ProjectWindow.h"
#include "tests/support/FakeFrame.h"

namespace {

// Acts on the dialog once its modal loop runs; a dialog left open is a failure and is closed.
void WhenShown(std::function<void(TDisplaySettings&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<TDisplaySettings*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return ADD_FAILURE() << "no dialog";
    act(*dialog);
    if (dialog->isVisible()) {
      ADD_FAILURE() << "the dialog was left open";
      dialog->reject();
    }
  });
}

using Switches = std::array<bool, 4>;  // axis numbers, legend, smooth, exact

Switches Of(const ProjectSettings& s) {
  return {s.AxisNumbers, s.Legend, s.SmoothCurves, s.ExactCurves};
}

class DisplaySettings : public ::testing::Test {
 protected:
  TMDIChild* Editor(Switches on = {}) {
    auto* editor = qobject_cast<TMDIChild*>(CreateProjectWindow(frame, "Unbenannt 1", true));
    auto& document = const_cast<ProjectDocument&>(editor->Document());
    document.Modified = false;
    std::tie(document.Settings.AxisNumbers, document.Settings.Legend,
             document.Settings.SmoothCurves, document.Settings.ExactCurves) = std::tuple_cat(on);
    return editor;
  }
  static QAction* Item(TMDIChild& editor) {
    return editor.MainMenu1()->findChild<QAction*>("Darstellung1");
  }
  FakeFrame frame;
};

// The item follows "Graphen erstellen"; at the editor's size the dialog shows every control whole.
TEST_F(DisplaySettings, ItemAndDialogAtTheEditorsDefaultSize) {
  TMDIChild* editor = Editor();
  const QList<QAction*> graph = editor->MainMenu1()->findChild<QMenu*>("Projekt1")->actions();
  ASSERT_GE(graph.size(), 2);
  EXPECT_EQ(graph[1], Item(*editor));
  WhenShown([&](TDisplaySettings& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Darstellung");
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
      const QRect at(control->mapTo(&dialog, QPoint(0, 0)), control->size());
      EXPECT_TRUE(dialog.rect().contains(at)) << control->objectName().toStdString();
      EXPECT_GE(control->width(), control->minimumSizeHint().width());
    }
    QTest::keyClick(dialog.LegendBox, Qt::Key_F1);
    QTest::keyClick(dialog.LegendBox, Qt::Key_Escape);
  });
  Item(*editor)->trigger();
  EXPECT_EQ(frame.Questions.HelpTopics, std::vector<QString>{"Darstellung"});
}

TEST_F(DisplaySettings, OkWritesTheSwitchesAndOnlyAChangeMarksTheProject) {
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
      {{}, {"ExactBox", "AxisNumbersBox"}, false, {}, false},
  };
  for (const auto& c : cases) {
    TMDIChild* editor = Editor(c.Before);
    WhenShown([&](TDisplaySettings& dialog) {
      for (const char* name : c.Clicked)
        QTest::mouseClick(dialog.findChild<QCheckBox*>(name), Qt::LeftButton);
      QTest::mouseClick(c.Confirm ? dialog.OkButton : dialog.CancelButton, Qt::LeftButton);
    });
    Item(*editor)->trigger();
    EXPECT_EQ(Of(editor->Document().Settings), c.After) << c.Clicked.size();
    EXPECT_EQ(editor->Document().Modified, c.Modified) << c.Clicked.size();
    delete editor;
  }
}

}  // namespace
