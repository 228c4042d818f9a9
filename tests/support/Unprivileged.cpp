#include "support/Unprivileged.h"

#include <sys/wait.h>
#include <unistd.h>

namespace orve::test {

int RunUnprivileged(const std::function<int()>& check) {
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0 && (setresgid(kNobody, kNobody, kNobody) != 0 ||
                           setresuid(kNobody, kNobody, kNobody) != 0)) {
      _exit(101);
    }
    _exit(check());
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace orve::test
