// The frame's ways of opening projects besides "Öffnen": files from the command line or from a
// second start, drops, and the list of recent projects.
#include "ui/app/FrameOpening.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>

#include "platform/FileStamp.h"
#include "ui/app/MainForm.h"
#include "ui/app/RecentProjects.h"
#include "ui/platform/PathText.h"
#include "ui/project/ProjectWindow.h"

QStringList DroppedProjects(const QMimeData& data) {
  QStringList paths;
  for (const QUrl& url : data.urls()) {
    if (!url.isLocalFile()) continue;
    // Decoded by hand: QUrl's own decoding would replace bytes that are not UTF-8.
    const QByteArray bytes =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    // A NUL ends the name for the system, so the file opened would not be the one named.
    if (bytes.toLower().endsWith(".qgp") && !bytes.contains('\0')) paths << PathFromBytes(bytes);
  }
  return paths;
}

void TMainForm::OpenProjectFiles(const QStringList& paths) {
  for (const QString& path : paths)
    if (!path.contains(QChar(0))) CreateProjectWindow(path, false);
}

// On Wayland the compositor may only flash the window instead.
void TMainForm::BringToFront() {
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  show();
  raise();
  activateWindow();
}

void TMainForm::SetRecentProjects(RecentProjects* recent) {
  recent_ = recent;
}

void TMainForm::FillRecentProjects(QMenu& menu) {
  if (recent_)
    recent_->Fill(menu, prompts(), this,
                  [this](const QString& path) { CreateProjectWindow(path, false); });
}

// A project read from a file, or saved to one, goes to the front of the recent list. An editor
// takes the file's name as its own only once the file has been read.
void TMainForm::RememberProject(ChildForm* child, const QString& name, bool isNew) {
  if (!recent_) return;
  auto* editor = qobject_cast<TMDIChild*>(child);
  if (editor)
    connect(editor, &TMDIChild::ProjectSaved, this,
            [recent = recent_](const QString& path) { recent->Add(path); });
  const bool read = !editor || editor->Document().DateiName == PathToBytes(name).toStdString();
  if (!isNew && read && IsRegularFile(name)) recent_->Add(name);
}

// A project open already is brought to the front instead of a second editor, which would save
// over the first one's changes.
bool TMainForm::ShowOpenProject(const QString& path) {
  const std::string bytes = PathToBytes(path).toStdString();
  for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
    auto* editor = qobject_cast<TMDIChild*>(window);
    if (!editor || editor->Document().DateiName.empty() ||
        !IsSameFile(editor->Document().DateiName, bytes))
      continue;
    if (editor->isMinimized()) editor->showNormal();
    mdiArea_->setActiveSubWindow(editor);
    return true;
  }
  return false;
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedProjects(*event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dragMoveEvent(QDragMoveEvent* event) {
  if (!DroppedProjects(*event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  const QStringList paths = DroppedProjects(*event->mimeData());
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  OpenProjectFiles(paths);
}
