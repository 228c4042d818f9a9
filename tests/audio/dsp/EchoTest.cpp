// Echo: delays and levels of the echo train, energy with feedback, the
// ping-pong of the pan setting, bypass, and a click-free delay change.
#include <gtest/gtest.h>

#include <cmath>

#include "DspTestSupport.h"
#include "audio/dsp/Echo.h"

namespace orve::dsp::test {
namespace {

constexpr int kRate = 44100;

TEST(EchoTest, EchoTrainSitsAtMultiplesOfTheDelayWithHalvingLevels) {
  auto echo = Prepared<Echo>(kRate, {50, 50, 333, 333, 0});
  Stereo audio = Impulse(6 * 14685 + 100);
  ProcessAll(*echo, audio);
  const Mono left = Channel(audio, 0);
  EXPECT_NEAR(left[0], 0.5, 1e-6);
  for (int k = 1; k <= 5; ++k) {
    const size_t at = static_cast<size_t>(k) * 14685;
    size_t peak = at - static_cast<size_t>(k);
    for (size_t i = peak; i <= at + static_cast<size_t>(k); ++i)
      if (std::fabs(left[i]) > std::fabs(left[peak])) peak = i;
    EXPECT_NEAR(static_cast<double>(peak), static_cast<double>(at), k) << "echo " << k;
    const double want = 0.4330 * std::pow(0.5, k - 1);
    EXPECT_NEAR(left[peak], want, want * 0.01) << "echo " << k;
  }
}

TEST(EchoTest, NoWetIsBypassAllWetDropsTheDirectSound) {
  auto dry = Prepared<Echo>(kRate, {0, 50, 333, 333, 0});
  const Stereo in = Noise(kRate, 0.8f, 7);
  Stereo out = in;
  ProcessAll(*dry, out);
  EXPECT_EQ(out, in);

  auto wet = Prepared<Echo>(kRate, {100, 50, 333, 333, 0});
  Stereo impulse = Impulse(100);
  ProcessAll(*wet, impulse);
  EXPECT_EQ(impulse[0], 0.0f);
  EXPECT_EQ(impulse[1], 0.0f);
}

TEST(EchoTest, EchoTrainKeepsTheInputEnergy) {
  auto echo = Prepared<Echo>(kRate, {100, 90, 500, 500, 0});
  Stereo audio = Impulse(60 * kRate);
  ProcessAll(*echo, audio);
  const Mono left = Channel(audio, 0);
  EXPECT_NEAR(Energy(left, 0, left.size()), 1.0, 0.02);
}

TEST(EchoTest, PanSendsEachEchoToTheOtherSide) {
  auto pan = Prepared<Echo>(kRate, {100, 50, 100, 150, 1});
  Stereo audio = Impulse(20000, 1, 0);
  ProcessAll(*pan, audio);
  const Mono l = Channel(audio, 0), r = Channel(audio, 1);
  EXPECT_NEAR(r[4410], 0.866, 0.001);
  EXPECT_NEAR(l[11025], 0.433, 0.001);
  EXPECT_NEAR(r[15435], 0.2165, 0.001);
  EXPECT_LT(std::fabs(l[4410]), 1e-5);

  auto noPan = Prepared<Echo>(kRate, {100, 50, 100, 150, 0});
  Stereo straight = Impulse(20000, 1, 0);
  ProcessAll(*noPan, straight);
  EXPECT_EQ(PeakAbs(Channel(straight, 1), 0, 20000), 0.0);
}

TEST(EchoTest, DelayChangeCrossfadesWithoutAClick) {
  auto echo = Prepared<Echo>(kRate, {50, 0, 500, 500, 0});
  Stereo audio = Sine(440, 0.1, kRate, kRate + kRate / 10);
  echo->Process(audio.data(), kRate);
  echo->SetParameters({50, 0, 333, 500, 0});
  echo->Process(audio.data() + 2 * kRate, kRate / 10);
  const Mono high = HighPass(Channel(audio, 0), 4000, kRate);
  EXPECT_LT(Db(PeakAbs(high, kRate, high.size())), -75.0);
}

}  // namespace
}  // namespace orve::dsp::test
