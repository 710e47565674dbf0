#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

// How a second start hands its files to the running instance: a local socket beside the instance
// lock, in the user's runtime folder and open to the same user only. The request is a magic line,
// then each absolute path as bytes followed by a NUL, then one more NUL; the running instance
// answers "OK\n" once it has taken the request. Requests are bounded in size and time, so a
// flood or a garbled request never stalls the running instance, and a hung or dead running
// instance never keeps the second start waiting.

inline constexpr qsizetype kMaxOpenRequestBytes = 1 << 20;
inline constexpr int kHandOverTimeoutMs = 3000;

QString InstanceChannelPath(const QString& folder);

QByteArray EncodeOpenRequest(const QStringList& paths);

enum class OpenRequestState { Incomplete, Complete, Malformed };
// Complete fills paths; a request that can no longer become valid is Malformed.
OpenRequestState DecodeOpenRequest(const QByteArray& received, QStringList& paths);

// The second start's side: true once the running instance has taken the paths.
bool HandOverToRunningInstance(const QString& folder, const QStringList& paths,
                               int timeoutMs = kHandOverTimeoutMs);

// The running instance's side. Listen only while holding the instance lock: a socket left by an
// instance that died is then stale and replaced.
class InstanceServer : public QObject {
  Q_OBJECT
 public:
  explicit InstanceServer(const QString& folder, QObject* parent = nullptr);
  bool Listen();

  static constexpr int kMaxConnections = 16;

 signals:
  void OpenRequested(const QStringList& paths);

 private:
  void Accept();
  void Receive(class QLocalSocket& socket);

  QString path_;
  int connections_ = 0;
  QLocalServer server_;  // last: its sockets report their end to connections_
};
