// Test main for the tests that need a real desktop: a private Xvfb with the
// openbox window manager, started here for each test process (so that
// parallel tests never share a pointer or a screen) and ended after it.
// Where either program is missing, ORVE_TEST_DESKTOP stays unset and the
// tests skip; listing the tests starts nothing.
#include <gtest/gtest.h>

#include <QByteArray>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app/Application.h"

namespace {

bool Installed(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

pid_t Spawn(const std::vector<const char*>& argv, int keepFd = -1) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    if (keepFd < 0) close(null);
    std::vector<char*> args;
    for (const char* a : argv) args.push_back(const_cast<char*>(a));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  return pid;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

// Xvfb picks a free display and writes its number to the pipe.
pid_t StartXvfb(std::string& display) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const std::string fd = std::to_string(fds[1]);
  const pid_t pid = Spawn({"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, fds[1]);
  close(fds[1]);
  char number[16] = {};
  const ssize_t n = read(fds[0], number, sizeof number - 1);
  close(fds[0]);
  if (n <= 0) {
    Stop(pid);
    return -1;
  }
  display = ":" + std::string(number, std::strcspn(number, "\n"));
  return pid;
}

// openbox is up once it has announced itself on the root window.
bool WindowManagerUp() {
  return std::system("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'") == 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool listing = false;
  for (int i = 1; i < argc; ++i) listing |= std::strncmp(argv[i], "--gtest_list_tests", 18) == 0;
  pid_t xvfb = -1;
  pid_t openbox = -1;
  if (!listing && Installed("Xvfb") && Installed("openbox") && Installed("xdotool")) {
    std::string display;
    xvfb = StartXvfb(display);
    if (xvfb > 0) {
      setenv("DISPLAY", display.c_str(), 1);
      openbox = Spawn({"openbox", "--sm-disable"});
      for (int i = 0; i < 100 && !WindowManagerUp(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
      if (WindowManagerUp()) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("ORVE_TEST_DESKTOP", "1", 1);
      }
    }
  }
  int code = 0;
  {
    orve::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    code = RUN_ALL_TESTS();
  }
  Stop(openbox);
  Stop(xvfb);
  return code;
}
