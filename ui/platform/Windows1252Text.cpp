#include "ui/platform/Windows1252Text.h"

#include <algorithm>

#include "platform/CodePage.h"

QString FromWindows1252(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char byte : bytes) {
    text.append(
        QChar(static_cast<char16_t>(CodePointOfWindows1252(static_cast<unsigned char>(byte)))));
  }
  return text;
}

std::string ToWindows1252(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (const QChar ch : text)
    bytes.push_back(static_cast<char>(Windows1252ByteOf(ch.unicode()).value_or('?')));
  return bytes;
}

bool FitsWindows1252(const QString& text) {
  return std::all_of(text.begin(), text.end(),
                     [](QChar ch) { return Windows1252ByteOf(ch.unicode()).has_value(); });
}

QValidator::State Windows1252Validator::validate(QString& input, int&) const {
  const bool breaksLine = input.contains(QChar('\r')) || input.contains(QChar('\n'));
  return !breaksLine && FitsWindows1252(input) ? Acceptable : Invalid;
}
