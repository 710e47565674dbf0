#include "ui/app/FrameWiring.h"

#include <QMdiArea>
#include <QPointer>

#include "ui/app/MainForm.h"
#include "ui/graph/GraphPointer.h"
#include "ui/graph/GraphWindow.h"
#include "ui/graph/OutputOptionsDialog.h"
#include "ui/graph/ProgressDialog.h"
#include "ui/project/ProjectWindow.h"
#include "ui/valuetable/ValueTableOptionsDialog.h"

namespace {

// One zoom step of a graph: the editor types the ranges (step answers whether the settings then
// pass their check), the graph is drawn again in place, and a cancelled drawing takes the step
// back, so that the picture and the ranges always agree.
template <typename Step, typename Undo>
void Zoom(TForm3& progress, TMDIChild& editor, TGraph& graph, Step step, Undo undo) {
  if (!step()) return;
  if (!progress.Redraw(graph, editor.Document())) undo();
  graph.Pointer->Link(editor.CanZoomBack());
}

// The connections live as long as both the editor (their context) and the graph (their sender).
void LinkGraph(TForm3& progress, TMDIChild& editor, TGraph& graph) {
  GraphPointer* pointer = graph.Pointer;
  TForm3* dialog = &progress;
  TMDIChild* source = &editor;
  TGraph* shown = &graph;
  pointer->Link(editor.CanZoomBack());
  QObject::connect(&editor, &QObject::destroyed, pointer, &GraphPointer::Unlink);
  QObject::connect(pointer, &GraphPointer::ZoomWanted, &editor,
                   [dialog, source, shown](const RangeTexts& ranges) {
                     Zoom(
                         *dialog, *source, *shown, [&] { return source->ZoomTo(ranges); },
                         [&] { source->ZoomBack(); });
                   });
  QObject::connect(pointer, &GraphPointer::ZoomBackWanted, &editor,
                   [dialog, source, shown](int steps) {
                     const RangeTexts before = source->RangeFields();
                     Zoom(
                         *dialog, *source, *shown,
                         [&] {
                           bool passed = false;
                           for (int i = 0; i < steps && source->CanZoomBack(); ++i)
                             passed = source->ZoomBack();
                           return passed;
                         },
                         [&] { source->ZoomTo(before); });
                   });
}

// A cancelled drawing leaves its project in front, whichever child was active before.
void DrawGraph(TMainForm& frame, TForm3& progress, TMDIChild& editor) {
  const QPointer<TMDIChild> starter(&editor);
  if (progress.ShowModalFor(editor.Document(), editor.windowTitle()) != QDialog::Accepted) {
    if (starter) frame.MdiArea()->setActiveSubWindow(starter);
    return;
  }
  if (TGraph* graph = progress.LastGraph(); graph && starter) LinkGraph(progress, editor, *graph);
}

void ConnectEditor(TMainForm& frame, FrameDialogs dialogs, TMDIChild& editor) {
  QObject::connect(&editor, &TMDIChild::GraphWanted, &frame, [&frame, dialogs, &editor] {
    if (dialogs.Form3) DrawGraph(frame, *dialogs.Form3, editor);
  });
  QObject::connect(&editor, &TMDIChild::ValueTableWanted, &frame, [dialogs, &editor] {
    if (dialogs.Form5) dialogs.Form5->ShowFor(editor, editor.Document());
  });
}

}  // namespace

void WireFrame(TMainForm& frame, FrameDialogs dialogs) {
  frame.SetProjectWindowFactory([&frame, dialogs](const QString& name, bool isNew) {
    TMDIChild* editor =
        CreateProjectWindow(frame.Children(), frame.QelParser1(), frame.Fields(), name, isNew);
    ConnectEditor(frame, dialogs, *editor);
    return editor;
  });
  if (dialogs.Form2)
    QObject::connect(dialogs.Form2, &TForm2::PrinterSetupWanted, &frame,
                     &TMainForm::Druckereinstellungen1Click);
}
