#include "ui/valuetable/ValueTableWindow.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMdiArea>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>

#include "platform/AtomicFile.h"
#include "project/ProjectDocument.h"
#include "ui/platform/PathText.h"
#include "ui/platform/Prompts.h"
#include "ui/platform/Windows1252Text.h"
#include "ui/shell/AppInfo.h"
#include "ui/shell/ErrorReport.h"

namespace {

constexpr int kBuiltWidth = 219;
constexpr int kBuiltHeight = 425;

QTreeWidget* MakeList(QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  list->setColumnCount(2);
  list->setHeaderLabels({"x", "f(x)"});
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  // The x column is sized to its texts and f(x) takes the rest of the width.
  list->header()->setStretchLastSection(true);
  return list;
}

// The width a column needs to show every one of its texts whole, the item's margins included.
int ColumnWidthFor(const QTreeWidget& list, const QString& caption, const QStringList& texts) {
  const QFontMetrics metrics(list.font());
  int widest = QFontMetrics(list.header()->font()).horizontalAdvance(caption);
  for (const QString& text : texts) widest = std::max(widest, metrics.horizontalAdvance(text));
  const int margin = list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
  return widest + 2 * margin + 8;
}

}  // namespace

TForm4::TForm4(const ChildContext& context)
    : ChildForm(context.Area, "Form4"), questions_(context.Questions) {
  setWindowTitle("Wertetabelle anzeigen");
  ChildMenuSpec spec;
  spec.ContextHelpTopic = "Speichern von Wertetabellen";
  spec.Own = {
      {MenuItem::Wertetabellespeichernunter1, [this] { Wertetabellespeichernunter1Click(); }}};
  spec.ExtraSeparatorsAfter = {MenuItem::Funktionsgrapherstellen1};
  menus_ = StandardMenus::ForChild(*this, context, spec);
  ListView1 = MakeList(this);
  setWidget(ListView1);
  resize(241, 358);
}

void TForm4::SetRows(ValueTable rows) {
  rows_ = std::move(rows);
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows_.size()));
  for (const ValueTableRow& row : rows_) {
    items.append(new QTreeWidgetItem(QStringList{FromWindows1252(row.X), FromWindows1252(row.Fx)}));
  }
  // One insertion with painting off keeps a full table from stalling the window.
  ListView1->setUpdatesEnabled(false);
  ListView1->clear();
  ListView1->addTopLevelItems(items);
  ListView1->setUpdatesEnabled(true);
  FitColumns();
}

// Both columns show their longest text whole; where the window is too narrow for them it grows,
// as far as the work area allows, rather than cutting the values short.
void TForm4::FitColumns() {
  QStringList xs, fxs;
  for (const ValueTableRow& row : rows_) {
    xs << FromWindows1252(row.X);
    fxs << FromWindows1252(row.Fx);
  }
  const int xWidth = ColumnWidthFor(*ListView1, "x", xs);
  const int fxWidth = ColumnWidthFor(*ListView1, "f(x)", fxs);
  ListView1->setColumnWidth(0, xWidth);
  const int available = ListView1->width() - 2 * ListView1->frameWidth() -
                        ListView1->verticalScrollBar()->sizeHint().width();
  const int missing = xWidth + fxWidth - available;
  if (missing <= 0) return;
  const QWidget* area = mdiArea() ? mdiArea()->viewport() : nullptr;
  const int widest = area ? std::max(width(), area->width() - x()) : width() + missing;
  resize(std::min(width() + missing, widest), height());
}

void TForm4::Wertetabellespeichernunter1Click() {
  FileDialogSpec spec;
  spec.Title = "Wertetabelle speichern unter";
  spec.Filter = "TXT-Format (Tab)|*.txt|TXT-Format (Block)|*.txt";
  spec.FilterIndex = 1;
  spec.DefaultExt = "txt";
  spec.AskBeforeReplacing = true;
  const std::optional<FileChoice> choice = questions_.SaveFile(this, spec);
  if (!choice) return;
  const ValueTableLayout layout =
      choice->FilterIndex == 2 ? ValueTableLayout::Block : ValueTableLayout::Tab;
  try {
    WriteValueTableExport(PathString(choice->Path), rows_, layout);
  } catch (const FileCreateError& error) {
    ShowErrorReport(questions_, FileErrorText(error));
  }
}

TForm4* BuildValueTable(const ChildContext& context, TQelParser& engine,
                        const QString& projectCaption, const ProjectSettings& settings,
                        const std::string& stepWidth, const std::string& expression) {
  const QString title = "Wertetabelle (" + projectCaption + ")";
  // Pending input runs while older tables close; the project window may go with it.
  const ValueTableInput input{settings.XFrom, settings.XTo, stepWidth, expression};
  ChildForm::CloseOlder(*context.Area, title);
  QPointer<TForm4> window = new TForm4(context);
  window->setWindowTitle(title);
  window->resize(kBuiltWidth, kBuiltHeight);
  window->show();
  window->showNormal();
  ValueTableResult result =
      BuildValueTableRows(engine, input, [] { QCoreApplication::processEvents(); });
  // Building lets input through, so the user may have closed the new window meanwhile.
  TForm4* shown = window && !window->isHidden() ? window.data() : nullptr;
  if (shown) shown->SetRows(std::move(result.Rows));
  if (!result.Message.empty()) {
    context.Questions.Message(shown, kMessageCaption, FromWindows1252(result.Message),
                              {PromptButton::Ok}, PromptIcon::Exclamation);
  }
  if (shown) shown->update();
  return shown;
}
