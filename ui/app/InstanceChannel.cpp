#include "ui/app/InstanceChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <string_view>

#include "platform/PrivateAccess.h"
#include "ui/platform/PathText.h"

namespace {

const QByteArray kAnswer = QByteArrayLiteral("OK\n");

QStringList PathsOf(const std::vector<std::string>& paths) {
  QStringList list;
  for (const std::string& path : paths) list << PathFromBytes(QByteArray::fromStdString(path));
  return list;
}

}  // namespace

QString InstanceChannelPath(const QString& folder) {
  return QDir(folder).filePath(QStringLiteral("Qel Graphics 4.socket"));
}

QByteArray EncodeOpenRequest(const QStringList& paths) {
  std::vector<std::string> bytes;
  for (const QString& path : paths) bytes.push_back(PathToBytes(path).toStdString());
  return QByteArray::fromStdString(OpenRequestBytes(bytes));
}

OpenRequestState DecodeOpenRequest(const QByteArray& received, QStringList& paths) {
  OpenRequestDecoder decoder;
  const OpenRequestState state =
      decoder.Feed(std::string_view(received.constData(), size_t(received.size())));
  if (state == OpenRequestState::Complete) paths = PathsOf(decoder.Paths());
  return state;
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
  // The paths of the user's projects go to no one else.
  if (!PeerIsThisUser(int(socket.socketDescriptor()))) return false;
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

QString InstanceServer::ListenError() const {
  return "\"" + path_ + "\": " + server_.errorString();
}

void InstanceServer::Accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    if (!PeerIsThisUser(int(socket->socketDescriptor()))) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    if (connections_.size() >= size_t(kMaxConnections)) Drop(connections_.front().Socket);
    connections_.push_back({socket, {}});
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QObject::destroyed, this, [this, socket] { Forget(socket); });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Receive(socket); });
    // A client that stops sending is dropped.
    QTimer::singleShot(kHandOverTimeoutMs, socket, [this, socket] { Drop(socket); });
  }
}

// Only what arrived since the last call is decoded.
void InstanceServer::Receive(QLocalSocket* socket) {
  const auto connection =
      std::find_if(connections_.begin(), connections_.end(),
                   [socket](const Connection& c) { return c.Socket == socket; });
  if (connection == connections_.end()) return;
  const QByteArray bytes = socket->readAll();
  switch (connection->Decoder.Feed(std::string_view(bytes.constData(), size_t(bytes.size())))) {
    case OpenRequestState::Incomplete:
      return;
    case OpenRequestState::Malformed:
      Drop(socket);
      return;
    case OpenRequestState::Complete:
      const QStringList paths = PathsOf(connection->Decoder.Paths());
      Forget(socket);
      socket->write(kAnswer);
      socket->disconnectFromServer();
      // Queued: opening a file may show a box, whose event loop must not run while the socket's
      // signal is still on the stack (the socket may be freed in it).
      QMetaObject::invokeMethod(
          this, [this, paths] { emit OpenRequested(paths); }, Qt::QueuedConnection);
  }
}

// The socket goes later, from the event loop, never under its own signal.
void InstanceServer::Drop(QLocalSocket* socket) {
  Forget(socket);
  socket->abort();
  socket->deleteLater();
}

bool InstanceServer::Forget(QLocalSocket* socket) {
  return std::erase_if(connections_, [socket](const Connection& c) { return c.Socket == socket; });
}
