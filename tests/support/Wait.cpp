#include "support/Wait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

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

}  // namespace orve::test
