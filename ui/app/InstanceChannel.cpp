#include "ui/app/InstanceChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include "ui/platform/PathText.h"

namespace {

const QByteArray kMagic = QByteArrayLiteral("QELGRAPHICS-OPEN 1\n");
const QByteArray kAnswer = QByteArrayLiteral("OK\n");
constexpr qsizetype kMaxPathBytes = 4096;

void Drop(QLocalSocket& socket) {
  socket.abort();
  socket.deleteLater();
}

}  // namespace

QString InstanceChannelPath(const QString& folder) {
  return QDir(folder).filePath(QStringLiteral("Qel Graphics 4.socket"));
}

QByteArray EncodeOpenRequest(const QStringList& paths) {
  QByteArray request = kMagic;
  for (const QString& path : paths) request += PathToBytes(path) + '\0';
  return request + '\0';
}

OpenRequestState DecodeOpenRequest(const QByteArray& received, QStringList& paths) {
  if (received.size() > kMaxOpenRequestBytes) return OpenRequestState::Malformed;
  const qsizetype head = std::min(received.size(), kMagic.size());
  if (received.left(head) != kMagic.left(head)) return OpenRequestState::Malformed;
  QStringList found;
  for (qsizetype start = kMagic.size(); start < received.size();) {
    const qsizetype end = received.indexOf('\0', start);
    if (end < 0)
      return received.size() - start > kMaxPathBytes ? OpenRequestState::Malformed
                                                     : OpenRequestState::Incomplete;
    if (end == start) {
      if (end + 1 != received.size()) return OpenRequestState::Malformed;
      paths = found;
      return OpenRequestState::Complete;
    }
    const QByteArray path = received.mid(start, end - start);
    if (!path.startsWith('/') || path.size() > kMaxPathBytes) return OpenRequestState::Malformed;
    found << PathFromBytes(path);
    start = end + 1;
  }
  return OpenRequestState::Incomplete;
}

bool HandOverToRunningInstance(const QString& folder, const QStringList& paths, int timeoutMs) {
  const QDeadlineTimer deadline(timeoutMs);
  QLocalSocket socket;
  // The running instance may be starting and not listen yet.
  for (;;) {
    socket.connectToServer(InstanceChannelPath(folder));
    if (socket.waitForConnected(int(deadline.remainingTime()))) break;
    if (deadline.hasExpired()) return false;
    QThread::msleep(50);
  }
  socket.write(EncodeOpenRequest(paths));
  while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(int(deadline.remainingTime()))) {
  }
  QByteArray answer;
  while (answer.size() < kAnswer.size() && !deadline.hasExpired()) {
    socket.waitForReadyRead(int(deadline.remainingTime()));
    answer += socket.readAll();
    if (socket.state() != QLocalSocket::ConnectedState) break;
  }
  return answer == kAnswer;
}

InstanceServer::InstanceServer(const QString& folder, QObject* parent)
    : QObject(parent), path_(InstanceChannelPath(folder)) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &InstanceServer::Accept);
}

bool InstanceServer::Listen() {
  QLocalServer::removeServer(path_);
  return server_.listen(path_);
}

void InstanceServer::Accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    if (connections_ >= kMaxConnections) {
      Drop(*socket);
      continue;
    }
    ++connections_;
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QObject::destroyed, this, [this] { --connections_; });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Receive(*socket); });
    // A client that stops sending is dropped.
    QTimer::singleShot(kHandOverTimeoutMs, socket, [socket] { Drop(*socket); });
  }
}

void InstanceServer::Receive(QLocalSocket& socket) {
  QByteArray received = socket.property("received").toByteArray();
  received += socket.read(kMaxOpenRequestBytes + 1 - received.size());
  QStringList paths;
  switch (DecodeOpenRequest(received, paths)) {
    case OpenRequestState::Incomplete:
      socket.setProperty("received", received);
      return;
    case OpenRequestState::Malformed:
      Drop(socket);
      return;
    case OpenRequestState::Complete:
      socket.setProperty("received", QByteArray());
      socket.write(kAnswer);
      socket.disconnectFromServer();
      emit OpenRequested(paths);
  }
}
