// Compiled into every test program: the platform and the output the tests
// are written for (a test that needs another one sets it itself), and the
// leaks of system libraries that the leak checker is told to ignore.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct TestEnvironment {
  TestEnvironment() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("ORVE_AUDIO_OUTPUT", "null", 1);
    // The measurement cache of each test program is its own, gone afterwards.
    std::string cache = (std::filesystem::temp_directory_path() / "orve-test-cache-XXXXXX").string();
    if (mkdtemp(cache.data()) != nullptr) {
      cacheHome = cache;
      setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    }
  }
  ~TestEnvironment() {
    std::error_code ec;
    if (!cacheHome.empty()) std::filesystem::remove_all(cacheHome, ec);
  }
  std::string cacheHome;
} testEnvironment;

}  // namespace

// Read by LeakSanitizer when the tests are built with the sanitizers.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n"
         "leak:libfontconfig.so\n";
}
