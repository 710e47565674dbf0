#include <QAbstractScrollArea>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/FakeFrame.h"
#include "ui/app/AboutBox.h"
#include "ui/graph/GraphWindow.h"
#include "ui/graph/OutputOptionsDialog.h"
#include "ui/graph/ProgressDialog.h"
#include "ui/project/ProjectWindow.h"
#include "ui/valuetable/ValueTableOptionsDialog.h"
#include "ui/valuetable/ValueTableWindow.h"

namespace {

// The contents of a scrolled view may reach past it: that is what scrolling is for.
bool ScrolledContent(const QWidget& parent) {
  const auto* area = qobject_cast<const QAbstractScrollArea*>(parent.parentWidget());
  return area != nullptr && area->viewport() == &parent;
}

std::string Describe(const QWidget& widget) {
  const QRect r = widget.geometry();
  const QString name =
      widget.objectName().isEmpty() ? widget.metaObject()->className() : widget.objectName();
  return QString("%1 at %2,%3 %4x%5 in %6 %7x%8")
      .arg(name)
      .arg(r.x())
      .arg(r.y())
      .arg(r.width())
      .arg(r.height())
      .arg(widget.parentWidget()->objectName())
      .arg(widget.parentWidget()->width())
      .arg(widget.parentWidget()->height())
      .toStdString();
}

// Every visible control that does not lie wholly inside its parent, where it would be cut off or
// out of reach.
std::vector<std::string> ControlsOutsideTheirParent(const QWidget& window) {
  std::vector<std::string> outside;
  for (const QWidget* child : window.findChildren<QWidget*>()) {
    const QWidget* parent = child->parentWidget();
    if (child->isWindow() || !child->isVisibleTo(&window) || ScrolledContent(*parent)) continue;
    if (!parent->rect().contains(child->geometry())) outside.push_back(Describe(*child));
  }
  return outside;
}

QSize SmallestSize(const QWidget& window) {
  const QSize set = window.minimumSize();
  return set.isEmpty() ? window.minimumSizeHint().expandedTo(set) : set;
}

class ControlsInside : public ::testing::Test {
 protected:
  void ExpectInsideAtDefaultAndSmallestSize(QWidget& window, const char* name) {
    window.show();
    const QSize sizes[] = {window.size(), SmallestSize(window)};
    for (const QSize& size : sizes) {
      window.resize(size);
      QApplication::processEvents();
      EXPECT_EQ(ControlsOutsideTheirParent(window), std::vector<std::string>{})
          << name << " at " << window.width() << "x" << window.height();
    }
  }

  FakeFrame frame;
  TForm2 form2{frame.Questions, frame.Shared, frame.PrinterDevice};
};

TEST_F(ControlsInside, ChildWindows) {
  auto* empty = static_cast<TMDIChild*>(
      CreateProjectWindow(frame.Context(), frame.Parser, frame.Shared, "Unbenannt 1", true));
  empty->resize(724, 440);
  ExpectInsideAtDefaultAndSmallestSize(*empty, "project without a selected function");
  auto* editing = static_cast<TMDIChild*>(
      CreateProjectWindow(frame.Context(), frame.Parser, frame.Shared, "Unbenannt 2", true));
  editing->resize(724, 440);
  editing->Hinzufuegen1->trigger();
  ASSERT_TRUE(editing->Panel10->isVisibleTo(editing));
  ExpectInsideAtDefaultAndSmallestSize(*editing, "project with a selected function");

  TGraph graph(frame.Context(), frame.PrinterDevice, form2);
  graph.resize(656, 519);
  ExpectInsideAtDefaultAndSmallestSize(graph, "graph");
  TForm4 table(frame.Context());
  table.resize(219, 425);
  ExpectInsideAtDefaultAndSmallestSize(table, "value table");
}

TEST_F(ControlsInside, Dialogs) {
  for (const bool printing : {false, true}) {
    form2.PrintMode = printing;
    form2.FormShow();
    ExpectInsideAtDefaultAndSmallestSize(form2, printing ? "print size" : "JPEG quality");
    form2.hide();
  }
  TForm3 progress(frame.Context(), frame.Parser, frame.Shared, frame.PrinterDevice, form2);
  ExpectInsideAtDefaultAndSmallestSize(progress, "progress");
  TForm5 options{frame.Context(), frame.Parser, nullptr};
  ExpectInsideAtDefaultAndSmallestSize(options, "value table options");
  TAboutBox about(frame.Questions, nullptr);
  ExpectInsideAtDefaultAndSmallestSize(about, "about");
}

}  // namespace
