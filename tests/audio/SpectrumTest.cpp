// Spectrum and wave data of the sound heard now.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

#include "AudioTestSupport.h"

namespace orve::audio::test {
namespace {

class SoundNow : public ::testing::Test {
 protected:
  // A full-scale sine centred on bin 32 of 1024 points (bin 16 of 512).
  void SetUp() override {
    path_ = dir_.File("bin32.wav");
    ASSERT_TRUE(RunCommand("ffmpeg -v error -f lavfi -i 'aevalsrc=sin(2*PI*1378.125*t)|sin(2*PI*1378.125*t):s=44100:d=3' "
                           "-c:a pcm_f32le '" + path_ + "'"));
  }
  ScratchDir dir_;
  std::string path_;
  Library lib_{OutputChoice::Parse("null")};
};

TEST_F(SoundNow, AFullScaleSineOnABinReadsAboutHalf) {
  const Handle h = lib_.OpenFile(path_);
  ASSERT_NE(h, kNoHandle);
  std::vector<float> bins(512, -1.0f);
  EXPECT_EQ(lib_.GetFft(h, bins.data(), 1024), -1) << "nothing heard yet";
  ASSERT_TRUE(lib_.Play(h));
  ASSERT_TRUE(WaitFor([&] { return lib_.Position(h) > 44100 * 8 / 2; }));
  ASSERT_EQ(lib_.GetFft(h, bins.data(), 1024), 512);
  EXPECT_NEAR(bins[32], 0.5f, 0.01f);
  EXPECT_NEAR(bins[31], 0.25f, 0.01f);  // the Hann window's main lobe
  for (int k = 0; k < 512; ++k) {
    if (std::abs(k - 32) > 2) {
      EXPECT_LT(bins[k], 1e-3f) << "bin " << k;
    }
  }
  ASSERT_EQ(lib_.GetFft(h, bins.data(), 512), 256);
  EXPECT_NEAR(bins[16], 0.5f, 0.01f);
  EXPECT_EQ(lib_.GetFft(h, bins.data(), 256), -1);
}

TEST_F(SoundNow, WaveDataIs512StereoFrames) {
  const Handle h = lib_.OpenFile(path_);
  ASSERT_NE(h, kNoHandle);
  ASSERT_TRUE(lib_.SetAttributes(h, 0, 30));  // the data is taken before the volume
  ASSERT_TRUE(lib_.Play(h));
  ASSERT_TRUE(WaitFor([&] { return lib_.Position(h) > 44100 * 8 / 2; }));
  std::vector<int16_t> wave(1024);
  ASSERT_EQ(lib_.GetWave(h, wave.data()), 2048);
  int peak = 0;
  for (size_t i = 0; i < wave.size(); i += 2) {
    EXPECT_EQ(wave[i], wave[i + 1]);
    peak = std::max(peak, std::abs(int{wave[i]}));
  }
  EXPECT_GT(peak, 32000);
}

TEST_F(SoundNow, MonoIsDuplicatedAndPausedDataStays) {
  const Handle h = lib_.OpenFile(Fixture("wav_s16_mono.wav"));
  ASSERT_NE(h, kNoHandle);
  ASSERT_TRUE(lib_.Play(h));
  ASSERT_TRUE(WaitFor([&] { return lib_.Position(h) > 44100 / 4 * 2; }));
  ASSERT_TRUE(lib_.Pause(h));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::vector<int16_t> a(1024), b(1024);
  ASSERT_EQ(lib_.GetWave(h, a.data()), 2048);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_EQ(lib_.GetWave(h, b.data()), 2048);
  EXPECT_EQ(a, b);
  for (size_t i = 0; i < a.size(); i += 2) EXPECT_EQ(a[i], a[i + 1]);
}

TEST_F(SoundNow, DecodeOnlyStreamsHaveNoSoundNow) {
  const Handle h = lib_.OpenDecoder(path_);
  ASSERT_NE(h, kNoHandle);
  std::vector<float> bins(512);
  std::vector<int16_t> wave(1024);
  EXPECT_EQ(lib_.GetFft(h, bins.data(), 1024), -1);
  EXPECT_EQ(lib_.GetWave(h, wave.data()), -1);
}

}  // namespace
}  // namespace orve::audio::test
