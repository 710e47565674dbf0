#pragma once

#include <QApplication>

class Prompts;

// The text of the error box: the error's message, with a full stop added when it has none.
QString ErrorReportText(const QString& message);

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
