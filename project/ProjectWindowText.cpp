#include "project/ProjectWindowText.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

// The code page's characters for the bytes 0x80 to 0x9F; 0 marks the five unassigned bytes.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t CharOf(unsigned char byte) {
  if (byte < 0x80 || byte > 0x9F) return byte;
  const char16_t mapped = kHighControls[byte - 0x80];
  return mapped != 0 ? mapped : byte;
}

std::optional<char> ByteOf(QChar ch) {
  const char16_t code = ch.unicode();
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  if (code <= 0x9F) {
    return kHighControls[code - 0x80] == 0 ? std::optional<char>(static_cast<char>(code))
                                           : std::nullopt;
  }
  const auto found = std::find(kHighControls.begin(), kHighControls.end(), code);
  if (found == kHighControls.end()) return std::nullopt;
  return static_cast<char>(0x80 + (found - kHighControls.begin()));
}

}  // namespace

QString FromWindows1252(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char byte : bytes) text.append(QChar(CharOf(static_cast<unsigned char>(byte))));
  return text;
}

std::string ToWindows1252(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (const QChar ch : text) bytes.push_back(ByteOf(ch).value_or('?'));
  return bytes;
}

bool FitsWindows1252(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar ch) { return ByteOf(ch).has_value(); });
}

QValidator::State Windows1252Validator::validate(QString& input, int&) const {
  const bool breaksLine = input.contains(QChar('\r')) || input.contains(QChar('\n'));
  return !breaksLine && FitsWindows1252(input) ? Acceptable : Invalid;
}
