// Playback through the wav: sink, compared with the ffmpeg program's decode:
// every format, pause and resume, stop and rewind, seeking, volume, varispeed.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <thread>

#include "AudioTestSupport.h"

namespace orve::audio::test {
namespace {

constexpr float kLsb = 1.0f / 32768.0f;

// A library that captures to a WAV file; Finish shuts it down (completing
// the file) and reads the capture back.
class Playback : public ::testing::Test {
 protected:
  void SetUp() override { lib_ = std::make_unique<Library>(OutputChoice::Parse(("wav:" + Path()).c_str())); }
  std::string Path() const { return dir_.File("capture.wav"); }
  Library& lib() { return *lib_; }
  // The capture on the 16-bit grid of the reference decodes, so silence
  // and sound are told apart the same way in both.
  Capture Finish() {
    lib_.reset();
    Capture c = ReadCapture(Path());
    for (float& x : c.samples) x = std::nearbyint(x * 32768.0f) / 32768.0f;
    return c;
  }
  Handle Open(const std::string& path) {
    const Handle h = lib_->OpenFile(path);
    EXPECT_NE(h, kNoHandle) << lib_->LastError();
    return h;
  }
  // The reference as the device would play it: at 44100 Hz, stereo with
  // mono duplicated (ffmpeg's own upmix would lower it by 3 dB).
  static std::vector<float> Reference(const std::string& path, int channels = 2) {
    return ToStereoFloat(FfmpegDecode(path, "-ar 44100"), channels);
  }

  ScratchDir dir_;
  std::unique_ptr<Library> lib_;
};

int64_t FramesOf(const std::vector<float>& s) { return static_cast<int64_t>(s.size() / 2); }

int64_t FirstSound(const std::vector<float>& s) {
  int64_t i = 0;
  while (i < FramesOf(s) && s[2 * i] == 0.0f && s[2 * i + 1] == 0.0f) ++i;
  return i;
}

struct PlayCase {
  const char* file;
  bool resampled;  // not at 44100 Hz: the two resamplers differ a little
};

class PlayFormat : public Playback, public ::testing::WithParamInterface<PlayCase> {};

TEST_P(PlayFormat, PlaysWhatFfmpegDecodesAndEndsAtTheLength) {
  const PlayCase& c = GetParam();
  const Handle h = Open(Fixture(c.file));
  ASSERT_NE(h, kNoHandle);
  ASSERT_TRUE(PlayToEnd(lib(), h));
  EXPECT_EQ(lib().Position(h), lib().Length(h));
  StreamInfo info;
  ASSERT_TRUE(lib().GetInfo(h, info));
  const int64_t lengthFrames = lib().Length(h) / (2 * info.channels);
  const Capture cap = Finish();
  ASSERT_EQ(cap.rate, 44100);
  const std::vector<float> ref = Reference(Fixture(c.file), info.channels);
  const int64_t start = FirstSound(cap.samples) - FirstSound(ref);
  if (!c.resampled) {
    // Same rate: the frames go through untouched.
    const int64_t frames = std::min(lengthFrames, FramesOf(ref));
    ASSERT_LE(start + frames, cap.Frames());
    EXPECT_LE(MaxDifference(cap.samples, start, ref, 0, frames), kLsb);
    EXPECT_EQ(FirstSound(std::vector<float>(cap.samples.begin() + 2 * (start + lengthFrames), cap.samples.end())),
              cap.Frames() - start - lengthFrames)
        << "sound after the end of the stream";
  } else {
    const int64_t frames = FramesOf(ref) - 200;
    const int64_t at = BestOffset(ref, 100, 1024, cap.samples, start + 60, start + 140);
    ASSERT_LE(at - 100 + frames, cap.Frames());
    EXPECT_LE(MaxDifference(cap.samples, at, ref, 100, frames - 100), 0.01f);
  }
}

const PlayCase kPlayCases[] = {
    {"sine_s16.wav", false}, {"wav_u8_mono.wav", true}, {"wav_s16_mono.wav", false},
    {"wav_s24.wav", false},  {"wav_s32.wav", false},    {"wav_f32.wav", false},
    {"aiff.aiff", false},    {"cbr.mp3", false},        {"vbr_xing.mp3", false},
    {"vbr_noheader.mp3", false}, {"rate22050.mp3", true}, {"layer2.mp2", false},
    {"layer1.mp1", false},   {"vorbis.ogg", false},     {"adts.aac", false},
    {"tagged.m4a", false},   {"tagged.wma", false},
};

INSTANTIATE_TEST_SUITE_P(Fixtures, PlayFormat, ::testing::ValuesIn(kPlayCases),
                         [](const ::testing::TestParamInfo<PlayCase>& param) {
                           std::string name = param.param.file;
                           for (char& ch : name) {
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

TEST_F(Playback, PauseAndResumeLoseAndRepeatNothing) {
  const Handle h = Open(Fixture("sine_s16.wav"));
  ASSERT_TRUE(lib().Play(h));
  ASSERT_TRUE(WaitFor([&] { return lib().Position(h) > 44100 * 4 / 2; }));
  ASSERT_TRUE(lib().Pause(h));
  EXPECT_EQ(lib().IsActive(h), ActiveState::kPaused);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const int64_t paused = lib().Position(h);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(lib().Position(h), paused);
  ASSERT_TRUE(PlayToEnd(lib(), h));
  const std::vector<float> played = WithoutSilence(Finish().samples, 32);
  const std::vector<float> ref = WithoutSilence(Reference(Fixture("sine_s16.wav")), 32);
  ASSERT_EQ(played.size(), ref.size());
  EXPECT_EQ(MaxDifference(played, 0, ref, 0, FramesOf(ref)), 0.0f);
}

TEST_F(Playback, StopThenPositionZeroRewinds) {
  const Handle h = Open(Fixture("sine_s16.wav"));
  ASSERT_TRUE(lib().Play(h));
  ASSERT_TRUE(WaitFor([&] { return lib().Position(h) > 44100 * 4 / 4; }));
  ASSERT_TRUE(lib().Stop(h));
  EXPECT_EQ(lib().IsActive(h), ActiveState::kStopped);
  ASSERT_TRUE(lib().SetPosition(h, 0));
  EXPECT_EQ(lib().Position(h), 0);
  ASSERT_TRUE(PlayToEnd(lib(), h));
  const std::vector<float> played = WithoutSilence(Finish().samples, 32);
  const std::vector<float> ref = WithoutSilence(Reference(Fixture("sine_s16.wav")), 32);
  const int64_t before = FramesOf(played) - FramesOf(ref);
  ASSERT_GT(before, 0);
  EXPECT_LE(MaxDifference(played, 0, ref, 0, before), kLsb) << "the start before the stop";
  EXPECT_LE(MaxDifference(played, before, ref, 0, FramesOf(ref)), kLsb) << "all of it again after";
}

TEST_F(Playback, SeekWhilePlayingLandsWithinTenMilliseconds) {
  // Noise, so the landing point has one best match; VBR without a header,
  // the hardest file to seek in.
  const std::string wav = dir_.File("noise.wav"), mp3 = dir_.File("noise.mp3");
  // The same noise every run (-R), so how its last samples fall is not left to chance.
  ASSERT_TRUE(RunCommand("sox -R -n -r 44100 -c 2 -b 16 '" + wav + "' synth 3 pinknoise vol 0.3 2>/dev/null"));
  ASSERT_TRUE(RunCommand("lame --quiet -t -V 4 '" + wav + "' '" + mp3 + "'"));
  const std::vector<float> ref = Reference(mp3);
  const Handle h = Open(mp3);
  ASSERT_TRUE(lib().Play(h));
  ASSERT_TRUE(WaitFor([&] { return lib().Position(h) > 44100 * 4 / 2; }));
  const int64_t target = 2 * 44100;
  ASSERT_TRUE(lib().SetPosition(h, target * 4));
  ASSERT_TRUE(PlayToEnd(lib(), h));
  EXPECT_EQ(lib().Position(h), lib().Length(h));
  const std::vector<float> played = WithoutSilence(Finish().samples, 32);
  const std::vector<float> head = WithoutSilence(ref, 32);
  // The first frame after the seek: both channels are compared, since one
  // sample of the new place can equal the old one by chance.
  int64_t jump = 0;
  while (jump < FramesOf(played) && played[2 * jump] == head[2 * jump] &&
         played[2 * jump + 1] == head[2 * jump + 1]) {
    ++jump;
  }
  ASSERT_GT(jump, 44100 / 4);
  ASSERT_GE(FramesOf(played) - jump, 2048);
  const int64_t landed = BestOffset(played, jump, 2048, ref, target - 4410, target + 4410);
  EXPECT_LE(std::abs(landed - target), 441) << "landed at " << landed;
  EXPECT_EQ(FramesOf(played) - jump, FramesOf(ref) - landed) << "the rest plays through to the end";
}

TEST_F(Playback, VolumeFortyGivesFourTenthsOfTheAmplitude) {
  const Handle h = Open(Fixture("sine_s16.wav"));
  ASSERT_TRUE(lib().SetAttributes(h, 0, 40));
  ASSERT_TRUE(PlayToEnd(lib(), h));
  const std::vector<float> played = WithoutSilence(Finish().samples, 32);
  std::vector<float> ref = WithoutSilence(Reference(Fixture("sine_s16.wav")), 32);
  for (float& x : ref) x *= 0.4f;
  ASSERT_EQ(played.size(), ref.size());
  EXPECT_LE(MaxDifference(played, 0, ref, 0, FramesOf(ref)), kLsb);
}

TEST_F(Playback, AVolumeChangeWhilePlayingIsRampedWithoutAClick) {
  const Handle h = Open(Fixture("sine_s16.wav"));
  ASSERT_TRUE(lib().Play(h));
  ASSERT_TRUE(WaitFor([&] { return lib().Position(h) > 44100 * 4 / 2; }));
  ASSERT_TRUE(lib().SetAttributes(h, 0, 10));
  ASSERT_TRUE(WaitFor([&] { return lib().Position(h) > 44100 * 4; }));
  ASSERT_TRUE(lib().SetAttributes(h, 0, 100));
  ASSERT_TRUE(PlayToEnd(lib(), h));
  const std::vector<float> played = WithoutSilence(Finish().samples, 32);
  // The 660 Hz sine at half scale moves at most 0.047 per frame; a gain
  // jumping at once from 1 to 0.1 would move up to 0.45.
  float step = 0.0f;
  for (int64_t i = 1; i < FramesOf(played); ++i) {
    step = std::max(step, std::fabs(played[2 * i + 1] - played[2 * i - 1]));
  }
  EXPECT_LT(step, 0.05f);
  // The quietest stretch of 50 ms (the quiet part lasts at least 0.5 s)
  // peaks at a tenth of the sine's 0.5.
  float quietest = 1.0f;
  for (int64_t at = 0; at + 2205 <= FramesOf(played); at += 2205) {
    float peak = 0.0f;
    for (int64_t i = at; i < at + 2205; ++i) peak = std::max(peak, std::fabs(played[2 * i]));
    quietest = std::min(quietest, peak);
  }
  EXPECT_NEAR(quietest, 0.05f, 0.002f);
}

TEST_F(Playback, HalfTheFrequencyTakesTwiceAsManyFrames) {
  const Handle h = Open(Fixture("sine_s16.wav"));
  ASSERT_TRUE(lib().SetAttributes(h, 22050, 100));
  ASSERT_TRUE(PlayToEnd(lib(), h));
  EXPECT_EQ(lib().Position(h), lib().Length(h));
  const std::vector<float> played = WithoutSilence(Finish().samples, 32);
  EXPECT_NEAR(static_cast<double>(FramesOf(played)), 2.0 * 88200, 2.0 * 88200 * 0.005);
}

TEST_F(Playback, AVeryLowFrequencyPlaysAtOnceSlowly) {
  const Handle h = Open(Fixture("wav_s16_mono.wav"));
  ASSERT_TRUE(lib().SetAttributes(h, 1000, 100));  // 44 times slower
  ASSERT_TRUE(lib().Play(h));
  ASSERT_TRUE(WaitFor([&] { return lib().Position(h) > 0; }, std::chrono::seconds(10)));
  EXPECT_EQ(lib().IsActive(h), ActiveState::kPlaying);
  EXPECT_LT(lib().Position(h), lib().Length(h) / 4);
}

TEST_F(Playback, FreeingAPlayingStreamStopsItsSound) {
  const Handle a = Open(Fixture("sine_s16.wav"));  // 440 Hz left, 660 Hz right
  ASSERT_TRUE(lib().Play(a));
  ASSERT_TRUE(WaitFor([&] { return lib().Position(a) > 44100; }));
  lib().Free(a);
  EXPECT_EQ(lib().Position(a), -1);
  const Handle b = Open(Fixture("wav_s16_mono.wav"));  // the same in both channels
  ASSERT_TRUE(PlayToEnd(lib(), b));
  const Capture cap = Finish();
  // B starts where 64 frames in a row sound the same in both channels (A's
  // two sines can agree now and then, never for that long).
  auto sameFrom = [&](int64_t i) {
    for (int64_t k = i; k < i + 64; ++k) {
      if (k >= cap.Frames() || cap.samples[2 * k] != cap.samples[2 * k + 1]) return false;
    }
    return FirstSound(std::vector<float>(cap.samples.begin() + 2 * i, cap.samples.begin() + 2 * (i + 64))) < 64;
  };
  int64_t bStarts = 0;
  while (bStarts < cap.Frames() && !sameFrom(bStarts)) ++bStarts;
  ASSERT_LT(bStarts, cap.Frames());
  for (int64_t i = bStarts; i < cap.Frames(); ++i) {
    ASSERT_EQ(cap.samples[2 * i], cap.samples[2 * i + 1]) << "the freed stream still sounds at frame " << i;
  }
}

}  // namespace
}  // namespace orve::audio::test
