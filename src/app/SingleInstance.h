#pragma once
// One player per program folder. The first ORVE started for a folder holds
// a lock and listens on a local socket, both named after the folder, in the
// user's runtime folder; a later start hands its command line (file names
// as bytes, made absolute) to that player and ends. The lock is kept until
// the process is gone, so two players never both write Default.pld: a
// start while the old player is still saving waits for it. The kernel lets
// go of the lock of a killed player, and its socket is then replaced.

#include <QObject>
#include <QStringList>
#include <functional>

class QLocalServer;
class QLocalSocket;

namespace orve {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // `folder`: the program folder (AppDirName).
  explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
  ~SingleInstance() override;

  enum class Role {
    First,       // this process is the player of its folder and listens
    HandedOver,  // the running player took the arguments: end this process
    NoAnswer,    // a player holds the folder but took nothing in time
  };
  // Blocks for at most a few seconds (while another player starts or ends).
  Role Claim(const QStringList& arguments);

  // Where the arguments of later starts go (empty: a start without any);
  // those that came before, while the windows were being built, go now.
  void SetReceiver(std::function<void(const QStringList&)> receiver);
  // The event loop is over: later starts wait for this process to end.
  void StopListening();

  // The socket's and the lock's names for a program folder.
  static QString SocketName(const QString& folder);
  static QString LockName(const QString& folder);

 private:
  bool TryLock();
  bool HandOver(const QByteArray& message, int timeoutMs);
  void Listen();
  void Accept();
  void Read(QLocalSocket* socket);
  void Deliver();

  QString socketName_;
  QString lockName_;
  int lockFd_ = -1;
  QLocalServer* server_ = nullptr;
  std::function<void(const QStringList&)> receiver_;
  QList<QStringList> pending_;
};

}  // namespace orve
