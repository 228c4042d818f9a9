// A real sound server: a tone through the default device (PortAudio, ALSA,
// PulseAudio), recorded from the null sink's monitor. Runs only where the
// test script has started the server (ORVE_TEST_PULSE=1).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "AudioTestSupport.h"

extern char** environ;

namespace orve::audio::test {
namespace {

// parec recording the monitor of the sink orve_null into a file.
class Recorder {
 public:
  explicit Recorder(const std::string& path) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const char* argv[] = {"parec", "--raw", "--latency-msec=20", "-d", "orve_null.monitor",
                          "--format=s16le", "--rate=44100", "--channels=2", nullptr};
    if (posix_spawnp(&pid_, "parec", &actions, nullptr, const_cast<char**>(argv), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Recorder() { Stop(); }
  bool Started() const { return pid_ > 0; }
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

TEST(RealSoundServer, PlaysAToneThroughTheDefaultDevice) {
  const char* flag = std::getenv("ORVE_TEST_PULSE");
  if (flag == nullptr || std::string(flag) != "1") {
    GTEST_SKIP() << "needs a PulseAudio server with the null sink orve_null as default "
                    "(scripts/test starts one and sets ORVE_TEST_PULSE=1)";
  }
  ScratchDir dir;
  const std::string tone = dir.File("tone.wav"), raw = dir.File("recorded.raw");
  ASSERT_TRUE(RunCommand("ffmpeg -v error -f lavfi -i 'aevalsrc=0.5*sin(2*PI*1000*t)|0.5*sin(2*PI*1000*t):s=44100:d=2' "
                         "-c:a pcm_s16le '" + tone + "'"));
  Recorder recorder(raw);
  ASSERT_TRUE(recorder.Started());
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  {
    Library lib(OutputChoice::Parse(""));
    ASSERT_EQ(lib.OutputName(), "portaudio");
    const Handle h = lib.OpenFile(tone);
    ASSERT_NE(h, kNoHandle);
    ASSERT_TRUE(PlayToEnd(lib, h));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  }
  recorder.Stop();

  std::ifstream in(raw, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> pcm(bytes.size() / 2);
  std::memcpy(pcm.data(), bytes.data(), pcm.size() * 2);
  // The loud part: from the first to the last sample above a quarter of full scale.
  size_t first = 0, last = 0;
  for (size_t i = 0; i < pcm.size(); i += 2) {
    if (std::abs(pcm[i]) > 8192) {
      if (first == 0) first = i;
      last = i;
    }
  }
  const double seconds = static_cast<double>(last - first) / 2 / 44100;
  ASSERT_GT(seconds, 1.5) << "the tone was not recorded";
  int crossings = 0;
  double energy = 0;
  for (size_t i = first + 2; i <= last; i += 2) {
    if ((pcm[i - 2] < 0) != (pcm[i] < 0)) ++crossings;
    energy += static_cast<double>(pcm[i]) * pcm[i];
  }
  EXPECT_NEAR(crossings / 2.0 / seconds, 1000.0, 10.0);
  const double rms = std::sqrt(energy / ((last - first) / 2.0)) / 32768.0;
  EXPECT_NEAR(rms, 0.5 / std::sqrt(2.0), 0.05);
}

}  // namespace
}  // namespace orve::audio::test
