// Compressor: steady-state levels, make-up gain, attack and release times,
// the look-ahead delay, and the linked stereo detector.
#include <gtest/gtest.h>

#include <cmath>

#include "DspTestSupport.h"
#include "audio/dsp/Compressor.h"

namespace orve::dsp::test {
namespace {

constexpr int kRate = 44100;

// Peak level (dBFS) of the last 0.5 s of 3 s of a sine at `inDb` dBFS.
double SteadyOutDb(const CompressorParams& p, double inDb, double hz = 1000) {
  auto comp = Prepared<Compressor>(kRate, p);
  Stereo audio = Sine(hz, std::pow(10.0, inDb / 20), kRate, 3 * kRate);
  ProcessAll(*comp, audio);
  return Db(PeakAbs(Channel(audio, 0), 5 * kRate / 2, 3 * kRate));
}

TEST(CompressorTest, SteadyLevels) {
  struct Case { CompressorParams p; double inDb, hz, outDb, tolerance; };
  const Case cases[] = {
      {{0, 10, 200, -20, 4, 4}, -10, 1000, -17.5, 0.3},
      {{0, 10, 200, -20, 4, 4}, -30, 1000, -30.0, 0.1},
      {{0, 10, 200, -20, 1, 4}, -10, 1000, -10.0, 0.05},
      {{0, 10, 200, -60, 100, 4}, 0, 1000, -59.4, 0.5},
      {{0, 10, 200, -20, 4, 4}, -10, 100, -17.4, 0.3},
      {{6, 10, 200, -20, 1, 4}, -20, 1000, -14.0, 0.05},
      {{-60, 10, 200, -20, 1, 4}, -20, 1000, -80.0, 0.1},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(SteadyOutDb(c.p, c.inDb, c.hz), c.outDb, c.tolerance)
        << "in " << c.inDb << " thr " << c.p.threshold << " ratio " << c.p.ratio << " gain " << c.p.gain;
}

// Gain reduction (dB) per frame for a steady level that steps at `stepAt`,
// on the detector's time axis: output frame n carries input n - P and the
// gain the detector computed at n. A constant (DC) level makes the detector
// ripple-free, so the reduction can be read frame by frame.
std::vector<double> ReductionAfterStep(const CompressorParams& p, double fromDb, double toDb, int stepAt, int frames) {
  auto comp = Prepared<Compressor>(kRate, p);
  const int delay = comp->LatencyFrames();
  Stereo audio(2 * static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i)
    audio[2 * i] = audio[2 * i + 1] = static_cast<float>(std::pow(10.0, (i < stepAt ? fromDb : toDb) / 20));
  const Stereo in = audio;
  ProcessAll(*comp, audio);
  std::vector<double> gr(static_cast<size_t>(frames), 0.0);
  for (size_t n = static_cast<size_t>(delay); n < gr.size(); ++n)
    gr[n] = -Db(audio[2 * n] / in[2 * (n - static_cast<size_t>(delay))]);
  return gr;
}

TEST(CompressorTest, AttackReachesNinetyPercentAtTheAttackTime) {
  for (float attack : {10.0f, 100.0f}) {
    const int step = kRate / 2;
    const auto gr = ReductionAfterStep({0, attack, 200, -20, 4, 4}, -40, -10, step, 2 * kRate);
    size_t n = static_cast<size_t>(step);
    while (gr[n] < 0.9 * 7.5) ++n;
    const double ms = 1000.0 * static_cast<double>(n - static_cast<size_t>(step)) / kRate;
    EXPECT_NEAR(ms, attack, std::max(1.5, 0.05 * attack)) << "attack " << attack;
  }
}

TEST(CompressorTest, ReleaseFallsToTenPercentWithinTheReleaseTime) {
  const int step = kRate;
  const auto gr = ReductionAfterStep({0, 10, 200, -20, 4, 4}, -10, -40, step, 2 * kRate);
  size_t n = static_cast<size_t>(step);
  while (gr[n] > 0.1 * 7.5) ++n;
  const double ms = 1000.0 * static_cast<double>(n - static_cast<size_t>(step)) / kRate;
  EXPECT_GE(ms, 190);
  EXPECT_LE(ms, 230);
}

TEST(CompressorTest, PredelayDelaysTheAudioExactly) {
  for (float predelay : {0.0f, 1.0f, 2.5f, 4.0f}) {
    auto comp = Prepared<Compressor>(kRate, {0, 10, 200, -20, 1, predelay});
    Stereo audio = Impulse(400);
    ProcessAll(*comp, audio);
    const int want = static_cast<int>(std::lround(predelay * kRate / 1000));
    EXPECT_EQ(comp->LatencyFrames(), want);
    EXPECT_EQ(audio[2 * static_cast<size_t>(want)], 1.0f) << predelay << " ms";
  }
}

TEST(CompressorTest, LinkedDetectorReducesBothChannelsAlike) {
  auto comp = Prepared<Compressor>(kRate, {0, 10, 200, -20, 4, 4});
  Stereo audio = Sine(1000, 1, kRate, 3 * kRate);
  for (size_t i = 0; i < audio.size(); i += 2) {
    audio[i] *= static_cast<float>(std::pow(10.0, -10.0 / 20));
    audio[i + 1] *= static_cast<float>(std::pow(10.0, -40.0 / 20));
  }
  ProcessAll(*comp, audio);
  const double l = Db(PeakAbs(Channel(audio, 0), 5 * kRate / 2, 3 * kRate));
  const double r = Db(PeakAbs(Channel(audio, 1), 5 * kRate / 2, 3 * kRate));
  EXPECT_NEAR(-10 - l, 3.2, 0.3);
  EXPECT_NEAR(-40 - r, 3.2, 0.3);
}

}  // namespace
}  // namespace orve::dsp::test
