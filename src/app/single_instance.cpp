// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace meldlux {

namespace {

// The same for the same store and user; short enough for any socket path.
QString nameFor(const QString& storeLocation, const QString& lockFolder) {
  const QByteArray key = QDir::cleanPath(storeLocation).toUtf8() + '\n' + lockFolder.toUtf8();
  return QStringLiteral("meldlux-") +
         QString::fromLatin1(
             QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

// Per user, and emptied at each boot where the system has such a folder.
QString lockFolder() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

} // namespace

SingleInstance::SingleInstance(const QString& storeLocation, QObject* parent)
    : SingleInstance(storeLocation, lockFolder(), parent) {}

SingleInstance::SingleInstance(const QString& storeLocation, const QString& folder, QObject* parent)
    : QObject(parent), name_(nameFor(storeLocation, folder)),
      lock_(QDir(folder).filePath(name_ + QStringLiteral(".lock"))) {
  QDir().mkpath(folder);
  lock_.setStaleLockTime(0); // stale only when its process is gone, however long it has run
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      socket->disconnectFromServer();
      socket->deleteLater();
      Q_EMIT showRequested();
    }
  });
}

bool SingleInstance::claim() {
  if (!lock_.tryLock(0)) {
    if (lock_.error() == QLockFile::LockFailedError) {
      knock();
      return false;
    }
    return true; // no lock to be had (a read-only folder): better two than none
  }
  QLocalServer::removeServer(name_); // what a killed holder left
  server_.listen(name_);
  return true;
}

void SingleInstance::knock() const {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (socket.waitForConnected(3000))
    socket.waitForDisconnected(3000);
}

} // namespace meldlux
