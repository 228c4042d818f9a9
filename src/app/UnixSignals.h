#pragma once
// SIGTERM and SIGINT reach the UI thread as a Qt signal, so they end the
// program the orderly way (the whole shutdown runs and every file is
// written). The handler only writes a byte to a pipe; the event loop reads it.

#include <QObject>

class QSocketNotifier;

namespace orve {

class UnixSignals : public QObject {
  Q_OBJECT
 public:
  explicit UnixSignals(QObject* parent = nullptr);
  ~UnixSignals() override;

 signals:
  void terminationRequested();

 private:
  void OnReadable();
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace orve
