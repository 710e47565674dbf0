#include "ui/graph/CurvePointsWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>

#include "analysis/CurveAnalysis.h"
#include "graph/PlotLoop.h"
#include "platform/AtomicFile.h"
#include "project/ProjectDocument.h"
#include "ui/graph/ValueDialog.h"
#include "ui/platform/Prompts.h"
#include "ui/platform/Windows1252Text.h"
#include "ui/shell/AppInfo.h"
#include "ui/shell/DialogHabits.h"
#include "ui/shell/ErrorReport.h"

namespace {

// Input is let through this often while the analysis runs.
constexpr std::chrono::milliseconds kPollInterval{10};

// Files in the value table's line ends; the clipboard in the desktop's.
constexpr const char* kFileLineEnd = "\r\n";

QTreeWidget* MakeList(QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  list->setHeaderLabels({"Funktion", "Art", "x", "y"});
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->header()->setStretchLastSection(true);
  list->setContextMenuPolicy(Qt::ActionsContextMenu);
  return list;
}

}  // namespace

TCurvePoints::TCurvePoints(const ChildContext& context)
    : ChildForm(context.Area, "Form4"), questions_(context.Questions) {
  setWindowTitle("Kurvenpunkte");
  ChildMenuSpec spec;
  spec.ContextHelpTopic = "Kurvendiskussion";
  spec.Own = {
      {MenuItem::Wertetabellespeichernunter1, [this] { Wertetabellespeichernunter1Click(); }}};
  spec.Captions = {{MenuItem::Wertetabellespeichernunter1, "Kurvenpunkte s&peichern unter..."}};
  spec.ExtraSeparatorsAfter = {MenuItem::Funktionsgrapherstellen1};
  menus_ = StandardMenus::ForChild(*this, context, spec);
  ListView1 = MakeList(this);
  Kopieren1 = new QAction("In die Zwischenablage kopieren", this);
  connect(Kopieren1, &QAction::triggered, this, &TCurvePoints::Kopieren1Click);
  menus_.Graph->addAction(Kopieren1);
  ListView1->addAction(Kopieren1);
  setWidget(ListView1);
  resize(420, 425);
}

void TCurvePoints::SetRows(std::vector<PointRow> rows) {
  rows_ = std::move(rows);
  QList<QTreeWidgetItem*> items;
  for (const PointRow& row : rows_) {
    items.append(
        new QTreeWidgetItem(QStringList{FromWindows1252(row.Function), FromWindows1252(row.Kind),
                                        FromWindows1252(row.X), FromWindows1252(row.Y)}));
  }
  ListView1->clear();
  ListView1->addTopLevelItems(items);
  for (int column = 0; column < 3; ++column) ListView1->resizeColumnToContents(column);
}

void TCurvePoints::Wertetabellespeichernunter1Click() {
  FileDialogSpec spec;
  spec.Title = "Kurvenpunkte speichern unter";
  spec.Filter = "TXT-Format (Tab)|*.txt";
  spec.FilterIndex = 1;
  spec.DefaultExt = "txt";
  spec.AskBeforeReplacing = true;
  const std::optional<FileChoice> choice = questions_.SaveFile(this, spec);
  if (!choice) return;
  try {
    WriteFileAtomically(choice->Path.toLocal8Bit().toStdString(),
                        PointTableText(rows_, kFileLineEnd));
  } catch (const FileCreateError& error) {
    ShowErrorReport(questions_, FileErrorText(error));
  }
}

void TCurvePoints::Kopieren1Click() {
  QApplication::clipboard()->setText(FromWindows1252(PointTableText(rows_, "\n")));
}

QPoint BesideGraph(const QRect& area, const QRect& graph, const QSize& size) {
  const int right = area.right() + 1 - size.width();
  const int x = std::max(area.left(), std::min(graph.right() + 1, right));
  const int bottom = area.bottom() + 1 - size.height();
  const int y = std::max(area.top(), std::min(graph.top(), bottom));
  return {x, y};
}

TCurvePoints* ShowCurvePoints(const ChildContext& context, TQelParser& engine,
                              const QString& projectCaption, const ProjectDocument& project,
                              std::vector<PointList>* found, const QWidget* beside) {
  const QString title = "Kurvenpunkte (" + projectCaption + ")";
  ChildForm::CloseOlder(*context.Area, title);
  QPointer<TCurvePoints> window = new TCurvePoints(context);
  window->setWindowTitle(title);
  window->show();
  window->showNormal();
  if (beside) {
    window->move(BesideGraph(context.Area->viewport()->rect(), beside->geometry(), window->size()));
    window->KeepPlace();
  }
  ThrottledPoll poll([] { QCoreApplication::processEvents(); }, kPollInterval);
  const ProjectPoints points = AnalyseProject(project, engine, std::nullopt, [&window, &poll] {
    poll();
    return !window || window->isHidden();
  });
  if (points.Cancelled || !window || window->isHidden()) return nullptr;
  window->SetRows(PointRows(points.Lists, engine));
  if (found) *found = points.Lists;
  std::string messages;
  for (const std::string& message : points.Messages) messages += message + "\n";
  for (const PointList& list : points.Lists) {
    if (list.More > 0) messages += MorePointsMessage(list) + "\n";
  }
  if (!messages.empty()) {
    messages.pop_back();
    context.Questions.Message(window, kMessageCaption, FromWindows1252(messages),
                              {PromptButton::Ok}, PromptIcon::Exclamation);
  }
  return window;
}

void AddCurveDiscussion(QMenu& menu, QWidget& picture, const ChildContext& context, QWidget& window,
                        std::function<const DrawnFrom*()> drawn,
                        std::function<void(std::vector<PointList>)> mark) {
  menu.addSeparator();
  QAction* discuss = menu.addAction("&Kurvendiskussion", &window, [context, &window, drawn, mark] {
    const DrawnFrom* from = drawn();
    if (from == nullptr) return;
    // The analysis lets input through, which may close the graph window and what it holds.
    DrawnFrom copy = *from;
    const QPointer<QWidget> alive(&window);
    std::vector<PointList> found;
    if (ShowCurvePoints(context, copy.Engine, window.windowTitle().section('(', 1).chopped(1),
                        copy.Project, &found, &window) &&
        alive)
      mark(std::move(found));
  });
  discuss->setObjectName("Kurvendiskussion1");
  QAction* value =
      menu.addAction(QString::fromUtf8("Wert &berechnen\u2026"), &window, [&window, drawn] {
        const DrawnFrom* from = drawn();
        if (from == nullptr) return;
        DrawnFrom copy = *from;
        TValueDialog dialog(copy.Engine, copy.Project, &window);
        ExecCentred(dialog);
      });
  value->setObjectName("Wertberechnen1");
  picture.addAction(discuss);
  picture.addAction(value);
}
