// A real radio server: icecast2 fed by ffmpeg with a 440 Hz tone (both
// started by scripts/test, see scripts/lib/services.sh). The stream plays
// through the wav: sink and its titles follow the server's admin changes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "NetTestSupport.h"

namespace orve::audio::test {
namespace {

using std::chrono::seconds;

class Icecast : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* port = std::getenv("ORVE_TEST_ICECAST_PORT");
    const char* admin = std::getenv("ORVE_TEST_ICECAST_ADMIN");
    if (port == nullptr || admin == nullptr) {
      GTEST_SKIP() << "no icecast2: ORVE_TEST_ICECAST_PORT and ORVE_TEST_ICECAST_ADMIN are set by scripts/test";
    }
    base_ = std::string("http://127.0.0.1:") + port;
    admin_ = admin;
  }
  bool SetTitle(const std::string& song) const {
    return RunCommand("curl -sf -o /dev/null -u '" + admin_ + "' '" + base_ +
                      "/admin/metadata?mount=/stream.mp3&mode=updinfo&song=" + song + "'");
  }

  ScratchDir dir_;
  std::string base_, admin_;
};

TEST_F(Icecast, PlaysTheToneAndFollowsTitleChanges) {
  const std::string wav = dir_.File("capture.wav");
  {
    Library lib(OutputChoice::Parse(("wav:" + wav).c_str()));
    lib.SetUserAgent("ORVE 1.56");
    const Handle h = lib.OpenUrl(base_ + "/stream.mp3");
    ASSERT_NE(h, kNoHandle);
    ASSERT_TRUE(lib.Play(h));
    ASSERT_TRUE(WaitFor([&] { return HearsSound(lib, h); }, seconds(30))) << lib.StreamStatus(h);
    ASSERT_TRUE(SetTitle("First%20Song"));
    ASSERT_TRUE(WaitFor([&] { return lib.GetMetadata(h).starts_with("StreamTitle='First Song';"); }, seconds(60)))
        << lib.GetMetadata(h);
    ASSERT_TRUE(SetTitle("Second%20Song"));
    ASSERT_TRUE(WaitFor([&] { return lib.GetMetadata(h).starts_with("StreamTitle='Second Song';"); }, seconds(60)))
        << lib.GetMetadata(h);
    EXPECT_EQ(lib.StreamStatus(h), "");
    EXPECT_EQ(lib.IsActive(h), ActiveState::kPlaying);
  }
  const Capture capture = ReadCapture(wav);
  EXPECT_NEAR(ToneFrequency(capture), 440.0, 5.0);
}

}  // namespace
}  // namespace orve::audio::test
