#pragma once

#include <QString>
#include <QValidator>
#include <string>
#include <string_view>

// Project files hold single-byte Windows-1252 text. The windows convert at the boundary; a
// character the code page cannot hold has no byte to be saved as, so the edits refuse it when it is
// typed or pasted, and a saved text always reads back as typed.

QString FromWindows1252(std::string_view bytes);

// Characters without a byte in the code page become '?'; callers that must not lose text check
// FitsWindows1252 first (the edits' validator does).
std::string ToWindows1252(const QString& text);

bool FitsWindows1252(const QString& text);

// Accepts a text only when every character fits the code page and none would break the file's
// one-value-per-line layout (carriage return, line feed).
class Windows1252Validator : public QValidator {
  Q_OBJECT
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};
