#include "app/services/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include "app/services/PathText.h"

namespace ferrox {
namespace {

constexpr char kShowRequest[] = "show\n";

}  // namespace

SingleInstance::SingleInstance(std::filesystem::path lockFile, QObject* parent)
    : QObject(parent), lockFile_(std::move(lockFile)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::SocketName() const {
  // A hash keeps the name short (socket paths are limited) and free of the path's slashes.
  const QByteArray path = ToQString(std::filesystem::absolute(lockFile_)).toUtf8();
  const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha256).toHex().left(24);
  return QStringLiteral("%1-%2").arg(ToQString(lockFile_.stem()), QString::fromLatin1(hash));
}

SingleInstance::Claim SingleInstance::TryClaim() {
  lock_ = std::make_unique<QLockFile>(ToQString(lockFile_));
  // Never stale by age: a program may run for weeks. A dead holder's lock is still taken over.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0)) {
    Listen();
    return Claim::Held;
  }
  const bool taken = lock_->error() == QLockFile::LockFailedError;
  lock_.reset();
  return taken ? Claim::Taken : Claim::Unguarded;
}

void SingleInstance::Listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // We hold the lock: a socket of that name is a leftover of a program that died.
  QLocalServer::removeServer(SocketName());
  if (!server_->listen(SocketName())) return;
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* peer = server_->nextPendingConnection()) {
      connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
      connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
        if (peer->readAll().startsWith(kShowRequest)) emit showRequested();
        peer->disconnectFromServer();
      });
    }
  });
}

bool SingleInstance::AskHolderToShow(int timeoutMs) const {
  QLocalSocket socket;
  socket.connectToServer(SocketName());
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(kShowRequest);
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  // The holder closes the connection once it has read the request.
  socket.waitForDisconnected(timeoutMs);
  return true;
}

}  // namespace ferrox
