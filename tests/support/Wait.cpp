#include "support/Wait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

namespace orve::test {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  return true;
}

bool LoopEndsAfter(const std::function<void()>& trigger, int timeoutMs) {
  QCoreApplication* app = QCoreApplication::instance();
  bool timedOut = false;
  QTimer::singleShot(0, app, trigger);
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, app, [&] {
    timedOut = true;
    QCoreApplication::quit();
  });
  watchdog.start(timeoutMs);
  QCoreApplication::exec();
  return !timedOut;
}

}  // namespace orve::test
