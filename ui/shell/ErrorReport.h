#pragma once

#include <QApplication>

class Prompts;

#include <exception>

// The text of the error box: the error's message, with a full stop added when it has none.
QString ErrorReportText(const QString& message);

// A core error's message as text: single-byte Windows-1252, as the documents are; an error that
// names a file ("Cannot create file <path>") carries the file system's bytes instead.
QString ErrorText(const std::exception& error);
QString FileErrorText(const std::exception& error);

// Shows an error that no handler caught: caption "Qel Graphics 4", OK, stop icon.
void ShowErrorReport(Prompts& prompts, const QString& message);

// The application object: every event handler's uncaught error ends up in one error box, and the
// application goes on.
class QelApplication : public QApplication {
 public:
  QelApplication(int& argc, char** argv);

  void SetPrompts(Prompts* prompts) { prompts_ = prompts; }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  Prompts* prompts_ = nullptr;
};
