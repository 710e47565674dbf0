#pragma once

#include <functional>

class QDialog;
class QPushButton;
class QRect;
class QString;
class QWidget;

// The keys the application's dialogs answer before the focused control sees them: Enter confirms,
// F1 asks for help, Esc cancels.
struct DialogKeys {
  std::function<void()> Confirm = {};
  std::function<void()> Help = {};
  std::function<void()> Cancel = {};
};

// Runs the handler the key stands for; false for any other key and for a key without a handler.
bool HandleDialogKey(int key, const DialogKeys& keys);

// Shows the dialog modally, centred on the primary screen's available area: ExecCentred waits for
// it to close, ShowCentred returns at once.
int ExecCentred(QDialog& dialog);
void ShowCentred(QDialog& dialog);

// A command button of the application's dialogs: drawn as a raised button in the desktop's style,
// and never taking the focus, so the field being edited keeps it while the button acts.
QPushButton* NewDialogButton(QWidget* parent, const QString& caption, const QRect& geometry);
