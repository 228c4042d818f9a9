#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "AudioTestSupport.h"
#include "audio/AudioLibrary.h"

namespace orve::audio {
namespace {

TEST(OutputChoice, ParsesTheEnvironmentValue) {
  using Kind = OutputChoice::Kind;
  struct Case {
    const char* value;
    Kind kind;
    const char* path;
  };
  const Case cases[] = {
      {nullptr, Kind::kAuto, ""},          {"", Kind::kAuto, ""},
      {"auto", Kind::kAuto, ""},           {"null", Kind::kNull, ""},
      {"wav:/tmp/a b.wav", Kind::kWav, "/tmp/a b.wav"},
      {"wav:", Kind::kAuto, ""},           {"pulse", Kind::kAuto, ""},
  };
  for (const Case& c : cases) {
    const OutputChoice choice = OutputChoice::Parse(c.value);
    EXPECT_EQ(choice.kind, c.kind) << (c.value ? c.value : "(unset)");
    EXPECT_EQ(choice.wavPath, c.path);
  }
}

TEST(OutputChoice, TheNullSinkRunsAtTheUsualRate) {
  Library lib(OutputChoice::Parse("null"));
  EXPECT_EQ(lib.OutputName(), "null");
  EXPECT_EQ(lib.OutputRate(), 44100);
  EXPECT_GE(lib.CpuLoad(), 0.0);
}

TEST(OutputChoice, AnUnwritableCaptureFallsBackToNull) {
  Library lib(OutputChoice::Parse("wav:/nonexistent-folder/x.wav"));
  EXPECT_EQ(lib.OutputName(), "null");
}

// A capture into a pipe reaches the reader as it plays, its header saying
// "length unknown" (a pipe cannot be rewound to fill it in at the end).
TEST(OutputChoice, ACaptureIntoAPipeFlowsWhileItPlays) {
  char dir[] = "/tmp/orve_pipe_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string fifo = std::string(dir) + "/capture.wav";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);  // so the player's open does not wait
  ASSERT_GE(fd, 0);
  std::vector<char> bytes;
  std::thread reader;
  {
    Library lib(OutputChoice::Parse(("wav:" + fifo).c_str()));
    ASSERT_EQ(lib.OutputName(), "wav");
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    reader = std::thread([&] {
      char chunk[1 << 14];
      ssize_t n = 0;
      while ((n = read(fd, chunk, sizeof chunk)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    });
    const Handle h = lib.OpenFile(test::Fixture("sine_s16.wav"));
    EXPECT_TRUE(test::PlayToEnd(lib, h));
    lib.Free(h);
  }  // the library closes the pipe: the reader sees its end
  reader.join();
  ASSERT_GT(bytes.size(), 44u + 44100 * 8 / 4);
  close(fd);
  ASSERT_EQ(std::string(bytes.data(), 4), "RIFF");
  ASSERT_EQ(std::string(bytes.data() + 36, 4), "data");
  uint32_t dataBytes = 0;
  std::memcpy(&dataBytes, bytes.data() + 40, 4);
  EXPECT_EQ(dataBytes, 0xFFFFFFFFu - 36);
  float loudest = 0;
  for (size_t at = 44; at + 4 <= bytes.size(); at += 4) {
    float v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    loudest = std::max(loudest, std::abs(v));
  }
  EXPECT_GT(loudest, 0.1f);
  unlink(fifo.c_str());
  rmdir(dir);
}

}  // namespace
}  // namespace orve::audio
