#include "ui/platform/PathText.h"

#include <sys/stat.h>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence at bytes[i], or 0 when it is not one.
int Utf8SequenceLength(const QByteArray& bytes, qsizetype i) {
  const auto lead = uchar(bytes[i]);
  int length = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  if (length == 0 || i + length > bytes.size()) return 0;
  for (int k = 1; k < length; ++k)
    if ((uchar(bytes[i + k]) & 0xC0) != 0x80) return 0;
  const auto second = uchar(bytes[i + 1]);
  // Overlong forms, UTF-16 surrogates and code points beyond U+10FFFF are not valid UTF-8.
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
    return 0;
  return length;
}

}  // namespace

QString PathFromBytes(const QByteArray& bytes) {
  QString path;
  path.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size();) {
    const int length = Utf8SequenceLength(bytes, i);
    if (length == 0) {
      path += QChar(char16_t(kEscapeBase + uchar(bytes[i])));
      ++i;
      continue;
    }
    path += QString::fromUtf8(bytes.constData() + i, length);
    i += length;
  }
  return path;
}

QByteArray PathToBytes(const QString& path) {
  QByteArray bytes;
  bytes.reserve(path.size());
  for (qsizetype i = 0; i < path.size(); ++i) {
    const char16_t unit = path[i].unicode();
    const bool pair = QChar::isHighSurrogate(unit) && i + 1 < path.size() &&
                      QChar::isLowSurrogate(path[i + 1].unicode());
    if (pair) {
      bytes += path.mid(i, 2).toUtf8();
      ++i;
    } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
      bytes += char(unit - kEscapeBase);
    } else {
      bytes += QString(QChar(unit)).toUtf8();
    }
  }
  return bytes;
}

QString PathString(const std::string& bytes) {
  return PathFromBytes(QByteArray::fromStdString(bytes));
}

std::string PathString(const QString& path) {
  return PathToBytes(path).toStdString();
}

bool IsRegularFile(const QString& path) {
  struct stat status {};
  return ::stat(PathToBytes(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}
