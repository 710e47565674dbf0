#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class Prompts;
class QMenu;
class QWidget;

// The projects last opened or saved, newest first, at most eight, kept in the user's settings so
// that "Zuletzt geöffnet" lists them in the next run too. Paths keep every byte; a name with a NUL
// names no file and is never kept. Without settings (null) the list lasts for this run only.
class RecentProjects {
 public:
  static constexpr int kLimit = 8;

  explicit RecentProjects(std::unique_ptr<QSettings> settings);
  ~RecentProjects();

  // The settings file in the user's configuration folder; null when it may not be read
  // (platform/SettingsFile.h).
  static std::unique_ptr<QSettings> UserSettings();

  QStringList List() const;
  void Add(const QString& path);
  void Remove(const QString& path);
  void Clear();

  // Fills "Zuletzt geöffnet": "&1 path" ... "&8 path", then "Liste leeren". Choosing a project
  // that no longer exists says so and drops it; any other is handed to open.
  void Fill(QMenu& menu, Prompts& prompts, QWidget* parent,
            const std::function<void(const QString&)>& open);

 private:
  void Store(const QStringList& list);
  void Choose(const QString& path, Prompts& prompts, QWidget* parent,
              const std::function<void(const QString&)>& open);

  std::unique_ptr<QSettings> settings_;
  QStringList unsaved_;  // the list without settings
};

// The list after path was used: moved (or added) to the front, the oldest beyond the limit gone.
QStringList WithRecent(QStringList list, const QString& path, int limit);
