#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <list>

#include "platform/OpenRequest.h"

// How a second start hands its files to the running instance: a local socket beside the instance
// lock, in the user's private folder; each end talks only to a process of the same user. The
// request is the one of platform/OpenRequest.h; the running instance answers "OK\n" as soon as it
// has taken the request, before any file opens. Requests are bounded in size and time, so a
// flood or a garbled request never stalls the running instance, and a hung or dead running
// instance never keeps the second start waiting.

inline constexpr int kHandOverTimeoutMs = 3000;

QString InstanceChannelPath(const QString& folder);

QByteArray EncodeOpenRequest(const QStringList& paths);

using OpenRequestState = OpenRequestDecoder::State;
// A whole request at once; Complete fills paths.
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
  // Why Listen failed: the socket's path and the system's reason.
  QString ListenError() const;

  // Connections still sending; a new one beyond these ends the oldest, so idle connections never
  // keep a second start out.
  static constexpr int kMaxConnections = 16;

 signals:
  // Sent from the event loop, after the connection's own signal has returned.
  void OpenRequested(const QStringList& paths);

 private:
  struct Connection {
    class QLocalSocket* Socket;
    OpenRequestDecoder Decoder;
  };
  void Accept();
  void Receive(QLocalSocket* socket);
  void Drop(QLocalSocket* socket);
  bool Forget(QLocalSocket* socket);

  QString path_;
  std::list<Connection> connections_;  // oldest first
  QLocalServer server_;                // last: its sockets report their end to connections_
};
