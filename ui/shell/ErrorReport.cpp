#include "ui/shell/ErrorReport.h"

#include <exception>

#include "ui/platform/PathText.h"
#include "ui/platform/Prompts.h"
#include "ui/platform/Windows1252Text.h"
#include "ui/shell/AppInfo.h"

QString ErrorReportText(const QString& message) {
  return message.endsWith('.') ? message : message + '.';
}

QString ErrorText(const std::exception& error) {
  return FromWindows1252(error.what());
}

QString FileErrorText(const std::exception& error) {
  return PathFromBytes(QByteArray(error.what()));
}

void ShowErrorReport(Prompts& prompts, const QString& message) {
  prompts.Message(QApplication::activeWindow(), kApplicationTitle, ErrorReportText(message),
                  {PromptButton::Ok}, PromptIcon::Stop);
}

QelApplication::QelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool QelApplication::notify(QObject* receiver, QEvent* event) {
  QString message;
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    message = ErrorText(error);
  } catch (...) {
    message = "Unbekannter Fehler";
  }
  if (prompts_) ShowErrorReport(*prompts_, message);
  return false;
}
