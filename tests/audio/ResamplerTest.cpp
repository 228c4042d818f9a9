// The varispeed resampler: what it keeps back after warming up, and rates.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "audio/Resampler.h"

namespace orve::audio {
namespace {

TEST(Resampler, WarmingUpLeavesNoSilenceQueued) {
  for (int in : {100, 1000, 22050, 48000, 192000}) {
    auto r = Resampler::Create(in, 44100);
    ASSERT_NE(r, nullptr) << in;
    EXPECT_LT(r->DelayFrames(), 64 + 32 * in / 44100) << in;  // the filter's own delay
  }
  auto same = Resampler::Create(44100, 44100);
  ASSERT_NE(same, nullptr);
  EXPECT_TRUE(same->PassThrough());
  EXPECT_EQ(same->DelayFrames(), 0);
}

TEST(Resampler, HalfTheRateGivesTwiceTheFramesOfTheSameWave) {
  auto r = Resampler::Create(22050, 44100);
  ASSERT_NE(r, nullptr);
  std::vector<float> in(2 * 2048), out(2 * Resampler::kMaxOut);
  int produced = 0;
  double peak = 0;
  for (int block = 0; block < 10; ++block) {
    for (int i = 0; i < 2048; ++i) {
      const double t = (block * 2048 + i) / 22050.0;
      in[2 * i] = in[2 * i + 1] = static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * 441 * t));
    }
    const int got = r->Convert(in.data(), 2048, out.data(), Resampler::kMaxOut);
    produced += got;
    for (int i = 0; i < 2 * got; ++i) peak = std::max(peak, std::fabs(static_cast<double>(out[i])));
  }
  EXPECT_NEAR(produced, 2 * 10 * 2048, 64);
  EXPECT_NEAR(peak, 0.5, 0.01);
}

}  // namespace
}  // namespace orve::audio
