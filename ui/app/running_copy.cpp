#include "ui/app/running_copy.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace {

constexpr int kConnectWaitMs = 500;

// One running copy per user: another user's Kiv on the same machine is not
// this one. Windows' local sockets (named pipes) are seen across the whole
// machine, so the user's name keeps them apart there.
QString SocketName() {
#ifdef _WIN32
  return QStringLiteral("KivMainWindow-%1").arg(qEnvironmentVariable("USERNAME"));
#else
  return QStringLiteral("KivMainWindow-%1").arg(static_cast<qulonglong>(::getuid()));
#endif
}

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
