#include "app/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <cerrno>

#include "engine/EntryKind.h"
#include "engine/Core.h"
#include "settings/FileNames.h"

namespace orve {
namespace {

constexpr quint32 kMagic = 0x4F525645;  // "ORVE"
constexpr int kWaitMs = 10000;          // for a player that is starting or ending
constexpr int kRetryMs = 50;
constexpr qint64 kMostMessageBytes = 16 << 20;  // far above any command line
constexpr char kAck = '1';

// The user's runtime folder; without one, a folder of the user's own in
// /tmp that nobody else may enter. Empty when neither can be had.
QString RuntimeFolder() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!dir.isEmpty()) return dir;
  }
  const QByteArray dir = "/tmp/orve-" + QByteArray::number(::getuid());
  if (::mkdir(dir.constData(), 0700) != 0 && errno != EEXIST) return {};
  struct stat st {};
  if (::lstat(dir.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
      (st.st_mode & 077) != 0) {
    return {};
  }
  return QFile::decodeName(dir);
}

// Players of different folders never meet: the names carry the folder's hash.
QString BaseName(const QString& folder) {
  const QString runtime = RuntimeFolder();
  if (runtime.isEmpty()) return {};
  const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
  return runtime + QStringLiteral("/orve-") + QString::fromLatin1(hash);
}

// The names as bytes, so one that is not UTF-8 arrives whole; relative
// names are made absolute here, as the receiving player's working folder
// is another.
QByteArray Message(const QStringList& arguments) {
  QList<QByteArray> names;
  names.reserve(arguments.size());
  for (const QString& a : arguments) {
    names << EncodeFileName(EntryKindOf(a) == QLatin1String(kKindStream) ? a : AbsoluteFileName(a));
  }
  QByteArray message;
  QDataStream out(&message, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_6_0);
  out << kMagic << names;
  return message;
}

}  // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent) : QObject(parent) {
  socketName_ = SocketName(folder);
  lockName_ = LockName(folder);
}

SingleInstance::~SingleInstance() {
  if (lockFd_ >= 0) ::close(lockFd_);
}

QString SingleInstance::SocketName(const QString& folder) {
  const QString base = BaseName(folder);
  return base.isEmpty() ? base : base + QStringLiteral(".socket");
}

QString SingleInstance::LockName(const QString& folder) {
  const QString base = BaseName(folder);
  return base.isEmpty() ? base : base + QStringLiteral(".lock");
}

bool SingleInstance::TryLock() { return ::flock(lockFd_, LOCK_EX | LOCK_NB) == 0; }

SingleInstance::Role SingleInstance::Claim(const QStringList& arguments) {
  if (!lockName_.isEmpty()) {
    lockFd_ = ::open(QFile::encodeName(lockName_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  }
  if (lockFd_ < 0) {
    qWarning("orve: no runtime folder for the lock of the program folder; another start will run a second player");
    return Role::First;
  }
  const QByteArray message = Message(arguments);
  QElapsedTimer waited;
  waited.start();
  for (;;) {
    if (TryLock()) {
      Listen();
      return Role::First;
    }
    // The player of this folder runs; it may not listen yet (starting) or
    // any more (ending), and then the lock is tried again.
    const int left = kWaitMs - static_cast<int>(waited.elapsed());
    if (left <= 0) return Role::NoAnswer;
    if (HandOver(message, left)) return Role::HandedOver;
    QThread::msleep(kRetryMs);
  }
}

bool SingleInstance::HandOver(const QByteArray& message, int timeoutMs) {
  QElapsedTimer took;
  took.start();
  const auto left = [&] { return std::max(0, timeoutMs - static_cast<int>(took.elapsed())); };
  QLocalSocket socket;
  socket.connectToServer(socketName_);
  if (!socket.waitForConnected(left())) return false;
  socket.write(message);
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(left())) return false;
  }
  // The answer comes once the player holds the names; it may be building its windows.
  while (socket.bytesAvailable() < 1) {
    if (!socket.waitForReadyRead(left())) return false;
  }
  char ack = 0;
  return socket.getChar(&ack) && ack == kAck;
}

void SingleInstance::Listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // Whatever socket is there was left by a player that was killed: the lock
  // is ours, so no player listens on it.
  QLocalServer::removeServer(socketName_);
  if (!server_->listen(socketName_)) {
    qWarning("orve: cannot listen on %s (%s); another start will not reach this player",
             qUtf8Printable(socketName_), qUtf8Printable(server_->errorString()));
    return;
  }
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
}

void SingleInstance::StopListening() {
  if (!server_) return;
  server_->close();  // removes the socket
  delete server_;
  server_ = nullptr;
}

void SingleInstance::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    Read(socket);
  }
}

void SingleInstance::Read(QLocalSocket* socket) {
  if (socket->bytesAvailable() > kMostMessageBytes) {
    socket->abort();
    return;
  }
  QDataStream in(socket);
  in.setVersion(QDataStream::Qt_6_0);
  in.startTransaction();
  quint32 magic = 0;
  QList<QByteArray> names;
  in >> magic >> names;
  if (!in.commitTransaction()) return;  // the rest is still on its way
  if (magic != kMagic) {
    socket->abort();
    return;
  }
  socket->putChar(kAck);
  socket->disconnectFromServer();  // after what is written has gone
  QStringList arguments;
  arguments.reserve(names.size());
  for (const QByteArray& name : names) arguments << DecodeFileName(name);
  pending_ << arguments;
  Deliver();
}

void SingleInstance::SetReceiver(std::function<void(const QStringList&)> receiver) {
  receiver_ = std::move(receiver);
  Deliver();
}

void SingleInstance::Deliver() {
  // Taken off the queue first: a receiver that opens a box runs the event
  // loop, and what arrives meanwhile comes after it, in order.
  while (receiver_ && !pending_.isEmpty()) receiver_(pending_.takeFirst());
}

}  // namespace orve
