#include "ui/app/running_copy.h"

#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace {

constexpr int kConnectWaitMs = 500;

QString SocketName() { return QStringLiteral("KivMainWindow-%1").arg(static_cast<qulonglong>(::getuid())); }

}  // namespace

bool RunningCopy::AskRunningCopyToShow() {
  QLocalSocket socket;
  socket.connectToServer(SocketName());
  if (!socket.waitForConnected(kConnectWaitMs)) return false;
  socket.write("show\n");
  socket.waitForBytesWritten(kConnectWaitMs);
  socket.disconnectFromServer();
  return true;
}

RunningCopy::RunningCopy(QWidget* window) : window_(window), server_(new QLocalServer(this)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // A socket left behind by a copy that crashed would keep every later copy
  // from listening; no copy answered on it, so it is stale.
  if (!server_->listen(SocketName())) {
    QLocalServer::removeServer(SocketName());
    server_->listen(SocketName());
  }
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      ShowWindow();
    }
  });
}

RunningCopy::~RunningCopy() { server_->close(); }

void RunningCopy::ShowWindow() {
  if (window_->isMinimized()) {
    window_->showNormal();
    return;
  }
  window_->raise();
  window_->activateWindow();
}
