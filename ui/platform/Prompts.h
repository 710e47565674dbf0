#pragma once

#include <QString>
#include <QUrl>
#include <optional>
#include <vector>

class QPrinter;
class QWidget;

// Every question the application asks the user goes through this interface: message boxes, common
// dialogs, help and web addresses. The application installs the Qt implementation; GUI tests
// install a scripted one, so every question and answer can be checked headless.
enum class PromptIcon { None, Information, Exclamation, Question, Stop };
enum class PromptButton { Ok, Cancel, Yes, No };

struct FileDialogSpec {
  QString Title;
  QString Filter;       // "Name|*.ext|Name|*.ext", as the windows define it
  int FilterIndex = 1;  // 1-based
  QString DefaultExt;   // without the leading dot, as given ("jpg", "txt", "*.qpg")
  bool AskBeforeReplacing = false;
  bool AskBeforeCreating = false;
};

struct FileChoice {
  QString Path;
  int FilterIndex = 1;  // 1-based index of the filter entry the user chose
};

class Prompts {
 public:
  virtual ~Prompts() = default;

  // A modal message box; returns the button the user pressed (Cancel/No/Ok when closed otherwise,
  // whichever of those the box offers).
  virtual PromptButton Message(QWidget* parent, const QString& caption, const QString& text,
                               const std::vector<PromptButton>& buttons, PromptIcon icon) = 0;

  // Colour dialog; colours as 0x00BBGGRR values. Empty when cancelled.
  virtual std::optional<uint32_t> ChooseColor(QWidget* parent, uint32_t initial) = 0;

  virtual std::optional<FileChoice> OpenFile(QWidget* parent, const FileDialogSpec& spec) = 0;
  virtual std::optional<FileChoice> SaveFile(QWidget* parent, const FileDialogSpec& spec) = 0;

  // Printer set-up on the application's one printer; false when cancelled.
  virtual bool PrinterSetup(QWidget* parent, QPrinter& printer) = 0;

  // Opens the help viewer at a topic identifier; an empty topic shows the contents.
  virtual void ShowHelp(const QString& topic) = 0;

  virtual void OpenUrl(const QUrl& url) = 0;
};
