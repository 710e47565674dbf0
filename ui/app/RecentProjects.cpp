#include "ui/app/RecentProjects.h"

#include <sys/stat.h>

#include <QMenu>
#include <QSettings>
#include <QStandardPaths>

#include "platform/SettingsFile.h"
#include "ui/platform/PathText.h"
#include "ui/platform/Prompts.h"
#include "ui/shell/AppInfo.h"

namespace {

const char* const kKey = "RecentProjects";

bool Exists(const QString& path) {
  struct stat status {};
  return ::stat(PathToBytes(path).constData(), &status) == 0;
}

}  // namespace

QStringList WithRecent(QStringList list, const QString& path, int limit) {
  list.removeAll(path);
  list.prepend(path);
  while (list.size() > limit) list.removeLast();
  return list;
}

RecentProjects::RecentProjects(std::unique_ptr<QSettings> settings)
    : settings_(std::move(settings)) {}

RecentProjects::~RecentProjects() = default;

std::unique_ptr<QSettings> RecentProjects::UserSettings() {
  const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                       "/" + kSettingsOrganisation + "/" + kSettingsApplication + ".conf";
  if (!IsSafeSettingsFile(PathToBytes(path).toStdString())) return nullptr;
  return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

// Stored as bytes, so that a name that is not UTF-8 comes back as it went in.
QStringList RecentProjects::List() const {
  if (!settings_) return unsaved_;
  std::vector<std::string> stored;
  for (const QVariant& entry : settings_->value(kKey).toList())
    stored.push_back(entry.toByteArray().toStdString());
  QStringList list;
  for (const std::string& path : UsableRecentPaths(stored, kLimit))
    list << PathFromBytes(QByteArray::fromStdString(path));
  return list;
}

void RecentProjects::Store(const QStringList& list) {
  if (!settings_) {
    unsaved_ = list;
    return;
  }
  QVariantList entries;
  for (const QString& path : list) entries << PathToBytes(path);
  settings_->setValue(kKey, entries);
  settings_->sync();
}

void RecentProjects::Add(const QString& path) {
  if (!path.contains(QChar(0))) Store(WithRecent(List(), path, kLimit));
}

void RecentProjects::Remove(const QString& path) {
  QStringList list = List();
  list.removeAll(path);
  Store(list);
}

void RecentProjects::Clear() {
  Store({});
}

void RecentProjects::Fill(QMenu& menu, Prompts& prompts, QWidget* parent,
                          const std::function<void(const QString&)>& open) {
  menu.clear();
  const QStringList list = List();
  for (int i = 0; i < list.size(); ++i) {
    QString shown = list[i];
    QAction* entry = menu.addAction(QString("&%1 %2").arg(i + 1).arg(shown.replace('&', "&&")));
    QObject::connect(
        entry, &QAction::triggered, &menu,
        [this, path = list[i], &prompts, parent, open] { Choose(path, prompts, parent, open); });
  }
  if (!list.isEmpty()) menu.addSeparator();
  QAction* clear = menu.addAction(QStringLiteral("Liste leeren"));
  clear->setEnabled(!list.isEmpty());
  QObject::connect(clear, &QAction::triggered, &menu, [this] { Clear(); });
}

void RecentProjects::Choose(const QString& path, Prompts& prompts, QWidget* parent,
                            const std::function<void(const QString&)>& open) {
  if (Exists(path)) {
    open(path);
    return;
  }
  prompts.Message(
      parent, kMessageCaption,
      "Das Projekt \"" + path + "\" gibt es nicht mehr. Es wird aus der Liste entfernt.",
      {PromptButton::Ok}, PromptIcon::Exclamation);
  Remove(path);
}
