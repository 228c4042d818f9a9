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

// Quiet blocks take a shorter path than blocks with something to limit:
// however the audio is cut into blocks, the result is the same to the bit.
TEST(PeakLimiterTest, TheResultDoesNotDependOnTheBlockSize) {
  Stereo audio = Noise(2 * kRate, 0.6f, 34);
  for (int burst : {5000, 20000, 20100, 61000}) {
    for (size_t i = 2 * static_cast<size_t>(burst); i < 2 * static_cast<size_t>(burst + 300); ++i) audio[i] *= 3;
  }
  Stereo whole = audio;
  ProcessAll(*Prepared<PeakLimiter>(kRate), whole, static_cast<int>(whole.size() / 2));
  for (int blockFrames : {1, 64, 1024}) {
    Stereo cut = audio;
    ProcessAll(*Prepared<PeakLimiter>(kRate), cut, blockFrames);
    ASSERT_EQ(cut, whole) << blockFrames;
  }
}

}  // namespace
}  // namespace orve::dsp::test
