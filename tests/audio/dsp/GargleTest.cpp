// Gargle: level and sidebands of the modulation, exact period and shapes,
// identical L/R modulation.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "DspTestSupport.h"
#include "audio/dsp/Gargle.h"

namespace orve::dsp::test {
namespace {

constexpr int kRate = 44100;

TEST(GargleTest, LevelAndSidebandsOfTheModulation) {
  struct Case { uint32_t shape; double rmsDb, sidebandDb; };
  const Case cases[] = {{0, -4.77, -13.87}, {1, -3.01, -9.94}};
  for (const Case& c : cases) {
    auto gargle = Prepared<Gargle>(kRate, {20, c.shape});
    Stereo audio = Sine(1000, 0.5, kRate, kRate);
    const Mono in = Channel(audio, 0);
    ProcessAll(*gargle, audio);
    const Mono out = Channel(audio, 0);
    EXPECT_NEAR(RmsDb(out, 0, kRate) - RmsDb(in, 0, kRate), c.rmsDb, 0.1) << "shape " << c.shape;
    EXPECT_NEAR(Db(ToneAmplitude(out, 1000, kRate, 0, kRate) / 0.5), -6.02, 0.1);
    for (double hz : {980.0, 1020.0})
      EXPECT_NEAR(Db(ToneAmplitude(out, hz, kRate, 0, kRate) / 0.5), c.sidebandDb, 0.3) << hz << " Hz";
  }
}

TEST(GargleTest, ModulatorHasTheExactPeriodAndShape) {
  auto triangle = Prepared<Gargle>(kRate, {20, 0});
  Stereo dc(2 * 4410, 1.0f);
  ProcessAll(*triangle, dc);
  const Mono t = Channel(dc, 0);
  EXPECT_NEAR(PeakAbs(t, 0, t.size()), 1.0, 0.001);
  EXPECT_EQ(t[0], 0.0f);
  EXPECT_NEAR(t[2205], 0.0, 0.001);  // back to 0 after one period
  EXPECT_NEAR(t[1102], 1.0, 0.001);

  auto square = Prepared<Gargle>(kRate, {20, 1});
  Stereo sq(2 * 2205 * 4, 1.0f);
  ProcessAll(*square, sq);
  const Mono s = Channel(sq, 0);
  std::set<float> values(s.begin(), s.end());
  EXPECT_EQ(values, (std::set<float>{0.0f, 1.0f}));
  int on = 0;
  for (size_t i = 0; i < 2205 * 4; ++i) on += s[i] == 1.0f;
  EXPECT_NEAR(on, 2205 * 2, 4);  // 50 % duty, one frame per period
}

TEST(GargleTest, BothChannelsShareTheModulator) {
  auto gargle = Prepared<Gargle>(kRate, {137, 0});
  Stereo audio(2 * 10000);
  for (size_t i = 0; i < audio.size(); i += 2) audio[i] = 1.0f, audio[i + 1] = 0.5f;
  ProcessAll(*gargle, audio);
  for (size_t i = 0; i < audio.size(); i += 2) ASSERT_EQ(audio[i + 1], 0.5f * audio[i]);
}

}  // namespace
}  // namespace orve::dsp::test
