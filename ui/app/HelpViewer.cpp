#include "ui/app/HelpViewer.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

#include "ui/app/Icons.h"
#include "ui/app/WindowLayout.h"

HelpViewer::HelpViewer(const QString& helpFile, QWidget* parent)
    : QWidget(parent, Qt::Window), helpFile_(helpFile) {
  setObjectName("HelpViewer");
  setWindowTitle("Qel Graphics - Hilfe");
  setWindowIcon(SvgIcon("app"));
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(720, 560);

  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  report_ = new QLabel(this);
  report_->setObjectName("Report");
  report_->setStyleSheet("QLabel { background: #fff4c2; padding: 6px; }");
  report_->setWordWrap(true);
  report_->hide();

  auto* bar = new QToolBar(this);
  bar->addAction("Inhalt", this, &HelpViewer::ShowContents);
  bar->addAction("Zurück", browser_, &QTextBrowser::backward);
  bar->addAction("Vor", browser_, &QTextBrowser::forward);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(report_);
  layout->addWidget(browser_);
}

bool HelpViewer::ShowContents() {
  currentAnchor_.clear();
  const QFileInfo file(helpFile_);
  if (!file.isFile() || !file.isReadable()) {
    browser_->clear();
    anchors_.clear();
    SetReport("Die Hilfedatei " + helpFile_ + " wurde nicht gefunden.");
    return false;
  }
  SetReport(QString());
  browser_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()), QTextDocument::HtmlResource);
  browser_->scrollToAnchor("Inhalt");
  CollectAnchors();
  return true;
}

void HelpViewer::ShowTopic(const QString& topic) {
  PlaceBesideAnchor();
  show();
  FollowModalDialog();
  raise();
  activateWindow();
  if (!ShowContents() || topic.isEmpty()) return;
  if (!anchors_.contains(topic)) {
    SetReport("Das Thema \"" + topic + "\" ist in der Hilfedatei nicht vorhanden.");
    return;
  }
  browser_->scrollToAnchor(topic);
  currentAnchor_ = topic;
}

QString HelpViewer::Report() const {
  return report_->isHidden() ? QString() : report_->text();
}

void HelpViewer::SetReport(const QString& text) {
  report_->setText(text);
  report_->setVisible(!text.isEmpty());
}

void HelpViewer::CollectAnchors() {
  anchors_.clear();
  for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      for (const QString& name : it.fragment().charFormat().anchorNames()) anchors_.insert(name);
}

void HelpViewer::PlaceBesideAnchor() {
  if (placed_ || !anchor_ || !anchor_->isVisible()) return;
  placed_ = true;
  const QScreen* screen = anchor_->screen();
  if (!screen) return;
  const auto rect = [](const QRect& r) { return TileRect{r.x(), r.y(), r.width(), r.height()}; };
  const QRect frame = frameGeometry();
  const QSize decoration = frame.size() - size();
  const TileRect place = PlaceBeside(rect(anchor_->frameGeometry()), frame.width(), frame.height(),
                                     rect(screen->availableGeometry()));
  move(place.Left, place.Top);
  resize(place.Width - decoration.width(), place.Height - decoration.height());
}

// A modal dialog blocks every window that is not its own; the viewer becomes the open dialog's
// (the innermost one's while several are open) and is free again once no dialog is open.
void HelpViewer::FollowModalDialog() {
  if (!isVisible()) return;
  QWidget* modal = QApplication::activeModalWidget();
  QWindow* owner = modal && modal != this ? modal->windowHandle() : nullptr;
  if (windowHandle() && windowHandle()->transientParent() != owner)
    windowHandle()->setTransientParent(owner);
}

bool HelpViewer::event(QEvent* event) {
  if (event->type() == QEvent::WindowBlocked)
    QTimer::singleShot(0, this, &HelpViewer::FollowModalDialog);
  return QWidget::event(event);
}
