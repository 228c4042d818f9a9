#include "app/UnixSignals.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace orve {
namespace {

int g_pipe[2] = {-1, -1};  // written by the signal handler, read on the UI thread

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto n = ::write(g_pipe[1], &byte, 1);
}

}  // namespace

UnixSignals::UnixSignals(QObject* parent) : QObject(parent) {
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    qWarning("orve: cannot watch SIGTERM/SIGINT");
    return;
  }
  notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &UnixSignals::OnReadable);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

UnixSignals::~UnixSignals() {
  if (g_pipe[0] < 0) return;
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
  ::close(g_pipe[0]);
  ::close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void UnixSignals::OnReadable() {
  char buffer[16];
  while (::read(g_pipe[0], buffer, sizeof buffer) > 0) {
  }
  emit terminationRequested();
}

}  // namespace orve
