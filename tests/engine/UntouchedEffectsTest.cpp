// Every effect switched on with nothing stored for it is heard, and heard as
// music: its record comes from an empty config.ini and runs through the
// real effect block.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "audio/dsp/DspBlock.h"
#include "engine/EffectRecords.h"
#include "settings/IniFile.h"
#include "support/TempDir.h"

namespace orve {
namespace {

constexpr int kRate = 44100;

using Signal = std::vector<float>;  // interleaved stereo

Signal Impulse(double seconds) {
  Signal s(static_cast<size_t>(seconds * kRate) * 2, 0.0f);
  s[0] = s[1] = 1.0f;
  return s;
}

// White noise at about -15 dBFS RMS, the same on every run.
Signal Noise(double seconds) {
  Signal s(static_cast<size_t>(seconds * kRate) * 2);
  uint32_t state = 12345;
  for (float& v : s) {
    state = state * 1664525u + 1013904223u;
    v = (static_cast<float>(state >> 8) / 16777216.0f - 0.5f) * 0.6f;
  }
  return s;
}

Signal Sine(double hz, double dbfs, double seconds) {
  Signal s(static_cast<size_t>(seconds * kRate) * 2);
  const double a = std::pow(10.0, dbfs / 20);
  for (size_t n = 0; n < s.size() / 2; ++n) {
    s[2 * n] = s[2 * n + 1] = static_cast<float>(a * std::sin(2 * M_PI * hz * static_cast<double>(n) / kRate));
  }
  return s;
}

// The left channel's energy over [from, to) seconds.
double Energy(const Signal& s, double from, double to) {
  double e = 0;
  for (auto n = static_cast<size_t>(from * kRate); n < static_cast<size_t>(to * kRate) && 2 * n < s.size(); ++n) {
    e += double(s[2 * n]) * s[2 * n];
  }
  return e;
}

double Db(double ratio) { return 10 * std::log10(ratio); }

double PeakDbfs(const Signal& s, double from, double to) {
  float peak = 0;
  for (auto n = static_cast<size_t>(from * kRate); n < static_cast<size_t>(to * kRate); ++n) {
    peak = std::max(peak, std::abs(s[2 * n]));
  }
  return 20 * std::log10(peak);
}

// The largest |left| within [from, to) seconds.
float LargestTap(const Signal& s, double from, double to) {
  float peak = 0;
  for (auto n = static_cast<size_t>(from * kRate); n < static_cast<size_t>(to * kRate); ++n) {
    peak = std::max(peak, std::abs(s[2 * n]));
  }
  return peak;
}

class UntouchedEffects : public ::testing::Test {
 protected:
  void SetUp() override {
    IniFile empty(home.file("config.ini"));
    for (int e = 0; e < kEffectCount; ++e) records.Fill(static_cast<Effect>(e), empty);
  }
  // `in` through effect `e` with the record an empty config.ini gives.
  Signal Run(Effect e, Signal in) const {
    auto block = dsp::CreateEffect(static_cast<int>(LibraryTypeOf(e)));
    block->Prepare(kRate);
    EXPECT_TRUE(block->SetParams(records.Of(e)));
    block->Reset();
    for (size_t at = 0; at < in.size(); at += 1024) {
      const int frames = static_cast<int>(std::min<size_t>(1024, in.size() - at) / 2);
      block->Process(in.data() + at, frames);
    }
    for (float v : in) EXPECT_TRUE(std::isfinite(v));
    return in;
  }
  // Output level against input level for noise, in dB.
  double NoiseGainDb(Effect e) const {
    const Signal in = Noise(3);
    return Db(Energy(Run(e, in), 1, 3) / Energy(in, 1, 3));
  }

  test::TempDir home;
  EffectRecords records;
};

TEST_F(UntouchedEffects, EchoRepeatsEveryHalfSecond) {
  const Signal out = Run(Effect::Echo, Impulse(2));
  EXPECT_NEAR(out[0], 0.5f, 0.001f);
  EXPECT_NEAR(out[2 * 22050], 0.4330f, 0.0045f);  // half wet, feedback 50 %
  EXPECT_NEAR(out[2 * 44100], 0.2165f, 0.0025f);
  // Dry and wet at half each, uncorrelated: half the energy.
  EXPECT_NEAR(NoiseGainDb(Effect::Echo), -3, 1);
}

TEST_F(UntouchedEffects, FlangerAndChorusAddTheirSweptCopy) {
  // The flanger's copy sweeps 1..3 ms behind the music (a comb that moves);
  // the chorus's 16 ± 0.8 ms.
  const Signal flanger = Run(Effect::Flanger, Impulse(0.1));
  EXPECT_GT(LargestTap(flanger, 0.0009, 0.0031), 0.2f);
  const Signal chorus = Run(Effect::Chorus, Impulse(0.1));
  EXPECT_GT(LargestTap(chorus, 0.0150, 0.0172), 0.2f);
  for (Effect e : {Effect::Flanger, Effect::Chorus}) EXPECT_NEAR(NoiseGainDb(e), 0, 6) << static_cast<int>(e);
}

TEST_F(UntouchedEffects, CompressorTurnsLoudMusicDown) {
  // -6 dBFS against a -20 dB threshold at 3:1: 14 dB above, 9.3 dB taken off.
  const Signal out = Run(Effect::Compressor, Sine(1000, -6, 2));
  EXPECT_NEAR(PeakDbfs(out, 1.5, 2.0), -15.3, 1.0);
  // Quiet music passes.
  const Signal quiet = Run(Effect::Compressor, Sine(1000, -30, 2));
  EXPECT_NEAR(PeakDbfs(quiet, 1.5, 2.0), -30, 0.2);
}

TEST_F(UntouchedEffects, GargleChopsAtTwentyHertz) {
  // A square at 20 Hz passes half the time: -3 dB, and 50 ms gaps.
  const Signal in = Sine(1000, -10, 2);
  const Signal out = Run(Effect::Gargle, in);
  EXPECT_NEAR(Db(Energy(out, 0.5, 1.5) / Energy(in, 0.5, 1.5)), -3.01, 0.2);
  EXPECT_LT(LargestTap(out, 0.026, 0.049), 1e-6f);
}

TEST_F(UntouchedEffects, ReverbsDecayAndKeepTheLevel) {
  for (Effect e : {Effect::Reverb3d, Effect::Reverb}) {
    SCOPED_TRACE(static_cast<int>(e));
    const Signal out = Run(e, Impulse(4));
    const double early = Energy(out, 0.05, 0.3);
    const double late = Energy(out, 1.0, 1.25);
    EXPECT_GT(early, 1e-3);    // a tail is heard
    EXPECT_LT(late, early / 4);  // and it dies away
    EXPECT_NEAR(NoiseGainDb(e), 0, 6);
  }
}

}  // namespace
}  // namespace orve
