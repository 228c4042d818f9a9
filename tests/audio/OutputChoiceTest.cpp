#include <gtest/gtest.h>

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

}  // namespace
}  // namespace orve::audio
