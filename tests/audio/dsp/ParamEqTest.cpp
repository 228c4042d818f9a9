// The equalizer band alone and as the 16-band equalizer: gains at and away
// from the centre, width convention, symmetry of cut and boost, bypass,
// stacking, and the zipper noise of a moving slider.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "DspTestSupport.h"
#include "audio/dsp/ParamEq.h"

namespace orve::dsp::test {
namespace {

constexpr std::array<float, 16> kCentres = {100, 170, 310, 600, 1000, 2000, 3000, 4000,
                                            6000, 8000, 10000, 12000, 13000, 14000, 15000, 16000};

struct Chain {
  std::vector<std::unique_ptr<ParamEq>> bands;
  void Run(Stereo& audio, int block = 512) {
    const int frames = static_cast<int>(audio.size() / 2);
    for (int at = 0; at < frames; at += block)
      for (auto& b : bands) b->Process(audio.data() + 2 * at, std::min(block, frames - at));
  }
};

Chain Equalizer(int rate, const std::array<float, 16>& gains) {
  Chain c;
  for (size_t k = 0; k < 16; ++k) c.bands.push_back(Prepared<ParamEq>(rate, {kCentres[k], 5, gains[k]}));
  return c;
}

std::array<float, 16> OnlyBand(int band, float gain) {
  std::array<float, 16> g{};
  g[static_cast<size_t>(band)] = gain;
  return g;
}

// Steady-state gain at `hz` in dB: 1 s to settle (narrow bands ring long), then a whole number of periods.
double GainDb(Chain& chain, double hz, int rate) {
  const int settle = rate;
  const int measure = static_cast<int>(std::floor(std::max(0.2, 20.0 / hz) * hz) * rate / hz);
  Stereo audio = Sine(hz, 0.001, rate, settle + measure + 1);
  chain.Run(audio);
  const Mono out = Channel(audio, 0);
  const auto to = static_cast<size_t>(settle + measure);
  return Db(ToneAmplitude(out, hz, rate, static_cast<size_t>(settle), to) / 0.001);
}

double BandGainDb(const ParamEqParams& p, double hz, int rate) {
  Chain c;
  c.bands.push_back(Prepared<ParamEq>(rate, p));
  return GainDb(c, hz, rate);
}

TEST(EqualizerTest, OneBandAtFifteenDecibels) {
  struct Case { double hz; double db; double tolerance; };
  const Case cases[] = {{1000, 15.0, 0.1}, {100, 0.0, 0.1}, {10000, 0.0, 0.1}};
  Chain eq = Equalizer(44100, OnlyBand(4, 15));
  for (const Case& c : cases) EXPECT_NEAR(GainDb(eq, c.hz, 44100), c.db, c.tolerance) << c.hz << " Hz";
}

TEST(EqualizerTest, HalfGainAtHalfTheBandwidthAtEveryRate) {
  for (int rate : {44100, 48000, 96000}) {
    Chain eq = Equalizer(rate, OnlyBand(4, 15));
    for (double hz : {865.5, 1155.4}) EXPECT_NEAR(GainDb(eq, hz, rate), 7.5, 0.3) << hz << " Hz at " << rate;
  }
}

TEST(EqualizerTest, CutIsTheExactMirrorOfBoost) {
  for (int i = 0; i < 30; ++i) {
    const double hz = 20 * std::pow(1000.0, i / 29.0);
    Chain up = Equalizer(44100, OnlyBand(4, 15));
    Chain down = Equalizer(44100, OnlyBand(4, -15));
    EXPECT_NEAR(GainDb(up, hz, 44100), -GainDb(down, hz, 44100), 0.05) << hz << " Hz";
  }
}

TEST(EqualizerTest, FlatBandsAreBitTransparentAndChannelsStayApart) {
  Chain flat = Equalizer(44100, {});
  const Stereo in = Noise(44100, 0.5f, 1);
  Stereo out = in;
  flat.Run(out);
  EXPECT_EQ(out, in);

  std::array<float, 16> gains;
  gains.fill(12);
  Chain loud = Equalizer(44100, gains);
  Stereo leftOnly = Noise(44100, 0.5f, 2);
  for (size_t i = 1; i < leftOnly.size(); i += 2) leftOnly[i] = 0;
  loud.Run(leftOnly);
  EXPECT_EQ(PeakAbs(Channel(leftOnly, 1), 0, 44100), 0.0);
}

TEST(EqualizerTest, AllBandsUpStackToFiftySevenDecibels) {
  std::array<float, 16> gains;
  gains.fill(15);
  Chain eq = Equalizer(44100, gains);
  EXPECT_NEAR(GainDb(eq, 13300, 44100), 57.6, 0.5);
  Stereo noise = Noise(44100, 1.0f, 3);
  eq.Run(noise);
  for (float v : noise) ASSERT_TRUE(std::isfinite(v));
}

TEST(EqualizerTest, BandAtOrAboveNinetyPercentOfNyquistIsBypassed) {
  auto band = Prepared<ParamEq>(22050, {10000, 5, 15});
  const Stereo in = Noise(22050, 0.5f, 4);
  Stereo out = in;
  ProcessAll(*band, out);
  EXPECT_EQ(out, in);
}

TEST(EqualizerTest, MovingSliderMakesNoZipperNoise) {
  const int rate = 44100;
  auto band = Prepared<ParamEq>(rate, {1000, 5, -15});
  Stereo audio = Sine(1000, 0.01, rate, rate);
  const int step = rate / 30;
  for (int k = 0; k < 30; ++k) {
    band->SetParameters({1000, 5, -15.0f + static_cast<float>(k + 1)});
    band->Process(audio.data() + 2 * k * step, step);
  }
  const Spectrum s = HannSpectrum(Channel(audio, 0), rate);
  const size_t carrier = static_cast<size_t>(std::lround(1000 / s.binHz));
  double carrierDb = -1e9, worst = -1e9;
  for (size_t k = carrier - 3; k <= carrier + 3; ++k) carrierDb = std::max(carrierDb, s.db[k]);
  for (size_t k = static_cast<size_t>(1300 / s.binHz); k < s.db.size(); ++k) worst = std::max(worst, s.db[k]);
  EXPECT_LT(worst - carrierDb, -80.0);
}

TEST(ParamEqTest, DefaultsAreBitTransparent) {
  auto band = Prepared<ParamEq>(44100);
  const Stereo in = Noise(10000, 0.9f, 5);
  Stereo out = in;
  ProcessAll(*band, out);
  EXPECT_EQ(out, in);
}

TEST(ParamEqTest, WidthFollowsTheHalfGainConvention) {
  struct Case { ParamEqParams p; double hz; double db; double tolerance; };
  const Case cases[] = {
      {{8000, 12, 15}, 8000, 15.0, 0.1},
      {{8000, 12, 15}, 5657, 7.9, 0.3},
      {{8000, 12, 15}, 11314, 6.8, 0.3},
      {{80, 1, 15}, 80 * std::pow(2.0, 1 / 24.0), 7.5, 0.3},
      {{1000, 36, 15}, 1000 * std::pow(2.0, 1.5), 7.5, 0.3},
      {{1000, 36, 15}, 1000 * std::pow(2.0, -1.5), 7.5, 0.3},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(BandGainDb(c.p, c.hz, 44100), c.db, c.tolerance) << c.p.center << "/" << c.p.bandwidth << " at " << c.hz;
}

}  // namespace
}  // namespace orve::dsp::test
