#include "ui/app/Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/app/InstanceChannel.h"
#include "ui/platform/InstanceLock.h"
#include "ui/platform/PathText.h"
#include "ui/platform/Prompts.h"
#include "ui/shell/AppInfo.h"

bool EnsureSingleInstance(InstanceLock& lock, Prompts& prompts, const QStringList& files) {
  if (lock.Acquire()) return true;
  if (!files.isEmpty() && HandOverToRunningInstance(lock.Folder(), files)) return false;
  prompts.Message(nullptr, kMessageCaption,
                  "Es kann nur eine Instanz des Programmes zur Zeit ausgeführt werden.",
                  {PromptButton::Ok}, PromptIcon::Exclamation);
  return false;
}

namespace {

void Note(std::FILE* errors, const QString& text) {
  const QByteArray bytes = PathToBytes("qelgraphics: " + text + "\n");
  std::fwrite(bytes.constData(), 1, size_t(bytes.size()), errors);
  std::fflush(errors);
}

}  // namespace

bool SingleInstance::Take(const QString& folder, Prompts& prompts, const QStringList& files,
                          std::FILE* errors) {
  if (folder.isEmpty()) {
    Note(errors,
         "kein privater Ordner für die Sperre gefunden (XDG_RUNTIME_DIR, ~/.cache); dieser Start "
         "läuft für sich, ohne Übergabe an ein laufendes Programm.");
    return true;
  }
  lock_ = std::make_unique<InstanceLock>(folder);
  if (!EnsureSingleInstance(*lock_, prompts, files)) return false;
  server_ = std::make_unique<InstanceServer>(folder);
  if (!server_->Listen())
    Note(errors, "ein zweiter Start kann keine Dateien übergeben: " + server_->ListenError());
  return true;
}

bool LoadGermanQtTexts(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  if (!translator->load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

QString ResolveHelpFile(const QString& programFolder) {
  const QDir folder(programFolder);
  const QStringList candidates = {
      folder.absoluteFilePath(QString("../share/qelgraphics/") + kHelpFileName),
      folder.absoluteFilePath(kHelpFileName),
  };
  for (const QString& candidate : candidates)
    if (QFileInfo(candidate).isFile()) return QDir::cleanPath(candidate);
  return QDir::cleanPath(candidates.front());
}
