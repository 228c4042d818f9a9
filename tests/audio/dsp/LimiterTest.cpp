// Output limiter: the ceiling holds on any input, music below it passes
// bit for bit (delayed by the look-ahead), and it lets go after a peak.
#include <gtest/gtest.h>

#include <cmath>

#include "DspTestSupport.h"
#include "audio/dsp/PeakLimiter.h"

namespace orve::dsp::test {
namespace {

constexpr int kRate = 44100;
const float kCeiling = static_cast<float>(std::pow(10.0, -0.1 / 20));

TEST(PeakLimiterTest, CeilingHoldsOnLoudNoise) {
  for (float amplitude : {1.0f, 10.0f, 1000.0f}) {
    auto limiter = Prepared<PeakLimiter>(kRate);
    Stereo audio = Noise(5 * kRate, amplitude, 31);
    ProcessAll(*limiter, audio);
    float peak = 0;
    for (float v : audio) peak = std::max(peak, std::fabs(v));
    EXPECT_LE(peak, kCeiling * 1.000001f) << "amplitude " << amplitude;
  }
}

TEST(PeakLimiterTest, BelowTheCeilingIsBitTransparentAfterTheLookAhead) {
  auto limiter = Prepared<PeakLimiter>(kRate);
  const Stereo in = Noise(kRate, 0.95f, 32);
  Stereo out = in;
  ProcessAll(*limiter, out);
  const size_t delay = 2 * static_cast<size_t>(limiter->LatencyFrames());
  ASSERT_GT(delay, 0u);
  for (size_t i = delay; i < out.size(); ++i) ASSERT_EQ(out[i], in[i - delay]) << i;
}

TEST(PeakLimiterTest, ReturnsToUnityAfterAPeak) {
  auto limiter = Prepared<PeakLimiter>(kRate);
  Stereo audio = Noise(3 * kRate, 0.5f, 33);
  for (size_t i = 2 * kRate / 2; i < 2 * (kRate / 2 + 100); ++i) audio[i] *= 8;  // a 100-frame burst
  const Stereo in = audio;
  ProcessAll(*limiter, audio);
  const size_t delay = 2 * static_cast<size_t>(limiter->LatencyFrames());
  for (size_t i = 2 * 2 * kRate; i < audio.size(); ++i) ASSERT_EQ(audio[i], in[i - delay]) << i;
  float peak = 0;
  for (float v : audio) peak = std::max(peak, std::fabs(v));
  EXPECT_LE(peak, kCeiling * 1.000001f);
}

}  // namespace
}  // namespace orve::dsp::test
