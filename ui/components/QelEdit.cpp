#include "ui/components/QelEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <algorithm>
#include <unordered_map>

namespace {

// Keys that only move, delete or switch state: completing after them would undo what the user did.
bool EndsCompletion(int code) {
  switch (code) {
    case 8:
    case 12:
    case 13:
    case 16:
    case 20:
    case 27:
    case 32:
      return true;
    default:
      return (code >= 33 && code <= 46) || (code >= 91 && code <= 93) ||
             (code >= 112 && code <= 123);
  }
}

}  // namespace

TQelEdit::TQelEdit(QWidget* parent) : QLineEdit(parent) {}

int TQelEdit::VirtualKeyCode(int qtKey) {
  static const std::unordered_map<int, int> kNamed = {
      {Qt::Key_Backspace, 8},   {Qt::Key_Tab, 9},      {Qt::Key_Backtab, 9},
      {Qt::Key_Clear, 12},      {Qt::Key_Return, 13},  {Qt::Key_Enter, 13},
      {Qt::Key_Shift, 16},      {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},
      {Qt::Key_AltGr, 18},      {Qt::Key_Pause, 19},   {Qt::Key_CapsLock, 20},
      {Qt::Key_Escape, 27},     {Qt::Key_Space, 32},   {Qt::Key_PageUp, 33},
      {Qt::Key_PageDown, 34},   {Qt::Key_End, 35},     {Qt::Key_Home, 36},
      {Qt::Key_Left, 37},       {Qt::Key_Up, 38},      {Qt::Key_Right, 39},
      {Qt::Key_Down, 40},       {Qt::Key_Select, 41},  {Qt::Key_Printer, 42},
      {Qt::Key_Execute, 43},    {Qt::Key_Print, 44},   {Qt::Key_Insert, 45},
      {Qt::Key_Delete, 46},     {Qt::Key_Super_L, 91}, {Qt::Key_Meta, 91},
      {Qt::Key_Super_R, 92},    {Qt::Key_Menu, 93},    {Qt::Key_NumLock, 144},
      {Qt::Key_ScrollLock, 145}};
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
    return qtKey;
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + (qtKey - Qt::Key_F1);
  const auto named = kNamed.find(qtKey);
  return named == kNamed.end() ? 0 : named->second;
}

QString TQelEdit::Select(QString text, int& pos) {
  if (FOnSelect) FOnSelect(*this, text, pos);
  return text;
}

// Replaces the base class's key-release handling entirely; the shift state plays no part.
void TQelEdit::keyReleaseEvent(QKeyEvent* event) {
  if (event->isAutoRepeat()) return;
  KeyUp(VirtualKeyCode(event->key()));
}

void TQelEdit::KeyUp(int virtualKey) {
  if (EndsCompletion(virtualKey)) return;
  Complete();
}

bool TQelEdit::Matches(const QString& entry, const QString& typed, bool caseSensitive) const {
  const QString prefix = entry.left(typed.size());
  return caseSensitive ? prefix == typed : prefix.toLower() == typed.toLower();
}

bool TQelEdit::IsExcluded(const QString& typed) const {
  return std::any_of(FExclusionList.begin(), FExclusionList.end(), [&](const QString& entry) {
    return Matches(entry, typed, FCaseSensitiveExlusion);
  });
}

void TQelEdit::Complete() {
  const QString typed = text();
  if (IsExcluded(typed)) return;
  int count = 0;
  QString proposal;
  for (const QString& entry : FDataList) {
    if (!Matches(entry, typed, FCaseSensitiveData)) continue;
    if (++count == 1) proposal = entry;
  }
  if (count == 0 || (FOnlyIfUnequivocal && count > 1)) return;
  FTypedLength = typed.size();
  proposal = Select(proposal, FTypedLength);
  setText(proposal);
  // A handler may hand back any position; the selection must stay inside the text.
  const int start = std::clamp(FTypedLength, 0, static_cast<int>(proposal.size()));
  setSelection(start, proposal.size() - start);
}

void TQelEdit::focusOutEvent(QFocusEvent* event) {
  // A popup (context menu) borrows the focus only for a moment; that is no leaving.
  if (FExitAfterTab || event->reason() == Qt::PopupFocusReason) {
    QLineEdit::focusOutEvent(event);
    return;
  }
  setFocus(Qt::OtherFocusReason);
}
