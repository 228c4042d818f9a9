// Compiled into every test program: the platform and the output the tests
// are written for (a test that needs another one sets it itself), and the
// leaks of system libraries that the leak checker is told to ignore.
#include <cstdlib>

namespace {

struct TestEnvironment {
  TestEnvironment() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("ORVE_AUDIO_OUTPUT", "null", 1);
  }
} testEnvironment;

}  // namespace

// Read by LeakSanitizer when the tests are built with the sanitizers.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n"
         "leak:libfontconfig.so\n";
}
