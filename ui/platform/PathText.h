#pragma once

#include <QByteArray>
#include <QString>

// File names are bytes; Qt's own conversion turns bytes that are not UTF-8 into replacement
// characters, so such a name could never be opened again. These two carry every byte through a
// QString: valid UTF-8 as its characters, any other byte b as the lone surrogate U+DC00 + b.
QString PathFromBytes(const QByteArray& bytes);
QByteArray PathToBytes(const QString& path);
// The same for the core's file names, which are std::string bytes.
QString PathString(const std::string& bytes);
std::string PathString(const QString& path);

// True when path names a regular file (or a link to one).
bool IsRegularFile(const QString& path);
