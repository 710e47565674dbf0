#pragma once

#include <QStringList>
#include <functional>

#include "ui/platform/Prompts.h"

// The dialog helpers the file dialogs share with their tests: the "Name|*.ext|Name|*.ext" filter
// lists of the windows become Qt name filters, and a typed name without extension is completed.
namespace FileFilters {
// One Qt name filter per "Name|pattern" pair, in order.
QStringList ToQt(const QString& filter);
// The extension a name typed without one gets: the chosen entry's own extension when it names one
// ("*.bmp"), else the dialog's default extension without "*." ("*.qpg" -> "qpg").
QString CompletionSuffix(const QString& filter, int filterIndex, const QString& defaultExt);
}  // namespace FileFilters

// The application's real Prompts: Qt's message boxes and common dialogs (German through the loaded
// Qt translation), the help viewer through a hook the application sets, the desktop for web
// addresses.
class QtPrompts : public Prompts {
 public:
  // Relative web addresses name the application's own pages in pagesFolder.
  explicit QtPrompts(std::function<void(const QString&)> showHelp, QString pagesFolder = {});

  PromptButton Message(QWidget* parent, const QString& caption, const QString& text,
                       const std::vector<PromptButton>& buttons, PromptIcon icon) override;
  std::optional<uint32_t> ChooseColor(QWidget* parent, uint32_t initial) override;
  std::optional<FileChoice> OpenFile(QWidget* parent, const FileDialogSpec& spec) override;
  std::optional<FileChoice> SaveFile(QWidget* parent, const FileDialogSpec& spec) override;
  bool PrinterSetup(QWidget* parent, QPrinter& printer) override;
  void ShowHelp(const QString& topic) override;
  void OpenUrl(const QUrl& url) override;

 private:
  std::optional<FileChoice> RunFileDialog(QWidget* parent, const FileDialogSpec& spec, bool save);
  bool ConfirmCreation(QWidget* parent, const FileDialogSpec& spec, const QString& path);

  std::function<void(const QString&)> showHelp_;
  QString pagesFolder_;
};
