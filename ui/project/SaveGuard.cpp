#include "ui/project/SaveGuard.h"

#include "ui/platform/PathText.h"
#include "ui/platform/Prompts.h"
#include "ui/shell/AppInfo.h"

bool MayReplace(Prompts& prompts, QWidget* parent, const std::optional<FileStamp>& stamp,
                const std::string& path) {
  if (!ChangedSince(stamp, path)) return true;
  const QString name = PathFromBytes(QByteArray::fromStdString(path));
  return prompts.Message(parent, kMessageCaption,
                         "Die Datei \"" + name +
                             "\" wurde geändert, seit das Projekt geöffnet oder gespeichert "
                             "wurde. Soll sie ersetzt werden?",
                         {PromptButton::Yes, PromptButton::No},
                         PromptIcon::Exclamation) == PromptButton::Yes;
}
