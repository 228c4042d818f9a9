// Chorus and flanger: tap positions and levels, feedback taps, the swept
// delay (centre, depth, rate, shape) tracked by cross-correlation, the L/R
// phase settings, bypass, and stability at the feedback limits.
#include <gtest/gtest.h>

#include <cmath>

#include "DspTestSupport.h"
#include "audio/dsp/Chorus.h"
#include "audio/dsp/Flanger.h"

namespace orve::dsp::test {
namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// Delay (frames) of `out` against `in`, every 5 ms over 20 ms windows, by the
// cross-correlation peak (parabolic sub-sample refinement).
struct Track {
  std::vector<double> t, delay;  // seconds, frames
};

Track TrackDelay(const Mono& in, const Mono& out, int minLag, int maxLag) {
  Track tr;
  const int w = kRate / 50, hop = kRate / 200;
  for (int start = maxLag + 1; start + w < static_cast<int>(out.size()); start += hop) {
    std::vector<double> c(static_cast<size_t>(maxLag - minLag + 1));
    for (int lag = minLag; lag <= maxLag; ++lag) {
      double s = 0;
      for (int i = start; i < start + w; ++i) s += double{out[static_cast<size_t>(i)]} * in[static_cast<size_t>(i - lag)];
      c[static_cast<size_t>(lag - minLag)] = s;
    }
    size_t best = 1;
    for (size_t k = 1; k + 1 < c.size(); ++k)
      if (c[k] > c[best]) best = k;
    const double a = c[best - 1], b = c[best], d = c[best + 1];
    const double frac = 0.5 * (a - d) / (a - 2 * b + d);
    tr.t.push_back((start + w / 2.0) / kRate);
    tr.delay.push_back(minLag + static_cast<double>(best) + frac);
  }
  return tr;
}

// Least-squares fit delay = centre + a sin(2 pi f t) + b cos(2 pi f t)
// (all three together, so a partial last period does not bias the centre).
struct Fit {
  double centre, amplitude, phaseDeg;
};
Fit FitSine(const Track& tr, double hz) {
  double m[3][4] = {};
  for (size_t i = 0; i < tr.t.size(); ++i) {
    const double row[3] = {1, std::sin(2 * kPi * hz * tr.t[i]), std::cos(2 * kPi * hz * tr.t[i])};
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) m[r][c] += row[r] * row[c];
      m[r][3] += row[r] * tr.delay[i];
    }
  }
  for (int p = 0; p < 3; ++p)  // Gauss-Jordan, the normal matrix is well conditioned
    for (int r = 0; r < 3; ++r) {
      if (r == p) continue;
      const double f = m[r][p] / m[p][p];
      for (int c = 0; c < 4; ++c) m[r][c] -= f * m[p][c];
    }
  const double centre = m[0][3] / m[0][0], a = m[1][3] / m[1][1], b = m[2][3] / m[2][2];
  return {centre, std::hypot(a, b), std::atan2(b, a) * 180 / kPi};
}

// Mean time between rising crossings of the centre.
double Period(const Track& tr, double centre) {
  std::vector<double> ups;
  for (size_t i = 1; i < tr.t.size(); ++i) {
    const double a = tr.delay[i - 1] - centre, b = tr.delay[i] - centre;
    if (a < 0 && b >= 0) ups.push_back(tr.t[i - 1] + (tr.t[i] - tr.t[i - 1]) * (-a) / (b - a));
  }
  return (ups.back() - ups.front()) / static_cast<double>(ups.size() - 1);
}

struct Swept {
  Mono in, left, right;
};
Swept SweptChorus(int waveform, int phase) {
  auto chorus = Prepared<Chorus>(kRate, {100, 50, 0, 1, waveform, 16, phase});
  // Low-passed noise: its correlation peak is wider than the delay moves
  // within one window, so the peak sits at the window's mean delay.
  const Mono in = LowPass(Channel(Noise(3 * kRate + kRate / 2, 0.5f, 11), 0), 800, kRate);
  Stereo audio(2 * in.size());
  for (size_t i = 0; i < in.size(); ++i) audio[2 * i] = audio[2 * i + 1] = in[i];
  ProcessAll(*chorus, audio);
  return {in, Channel(audio, 0), Channel(audio, 1)};
}

constexpr double kCentreFrames = 16e-3 * kRate + 2;

TEST(ChorusTest, OneTapAtTheDelayPlusTwoFrames) {
  auto both = Prepared<Chorus>(kRate, {100, 0, 0, 1.1f, 1, 10, 3});
  Stereo audio = Impulse(1000);
  ProcessAll(*both, audio);
  EXPECT_NEAR(audio[2 * 443], 1.0, 0.01);
  EXPECT_NEAR(audio[2 * 443 + 1], 1.0, 0.01);

  auto leftOnly = Prepared<Chorus>(kRate, {100, 0, 0, 1.1f, 1, 10, 3});
  Stereo l = Impulse(1000, 1, 0);
  ProcessAll(*leftOnly, l);
  EXPECT_NEAR(l[2 * 443], 0.5, 0.005);
  EXPECT_NEAR(l[2 * 443 + 1], 0.5, 0.005);
}

TEST(FlangerTest, ChannelsStayApartAtTheDelayPlusTwoFrames) {
  auto flanger = Prepared<Flanger>(48000, {100, 0, 0, 0.25f, 1, 2, 2});
  Stereo audio = Impulse(500, 1, 0);
  ProcessAll(*flanger, audio);
  EXPECT_NEAR(audio[2 * 98], 1.0, 0.01);
  EXPECT_EQ(PeakAbs(Channel(audio, 1), 0, 500), 0.0);
}

TEST(ModulationTest, NegativeFeedbackRepeatsWithAlternatingSign) {
  // Whole-frame delays: 10 ms at 44.1 kHz, 4 ms at 48 kHz.
  auto chorus = Prepared<Chorus>(kRate, {100, 0, -50, 1, 1, 10, 2});
  auto flanger = Prepared<Flanger>(48000, {100, 0, -50, 1, 1, 4, 2});
  for (DspBlock* b : {static_cast<DspBlock*>(chorus.get()), static_cast<DspBlock*>(flanger.get())}) {
    const int dc = b == chorus.get() ? 443 : 194;  // delay frames + 2
    Stereo audio = Impulse(6 * dc);
    ProcessAll(*b, audio);
    for (int k = 1; k <= 5; ++k) {
      const double want = std::pow(-0.5, k - 1);
      EXPECT_NEAR(audio[2 * static_cast<size_t>(k * dc)], want, std::fabs(want) * 0.01) << "tap " << k;
    }
  }
}

TEST(ChorusTest, SineSweepHasTheSetCentreDepthAndRate) {
  const Swept s = SweptChorus(1, 2);
  const Track tr = TrackDelay(s.in, s.left, 520, 900);
  const Fit fit = FitSine(tr, 1.0);
  EXPECT_NEAR(fit.centre / kRate * 1000, kCentreFrames / kRate * 1000, 0.05);
  EXPECT_NEAR(fit.amplitude / kRate * 1000, 4.0, 0.2);
  EXPECT_NEAR(Period(tr, fit.centre), 1.0, 0.01);
}

TEST(ChorusTest, TriangleSweepIsPiecewiseLinear) {
  const Swept s = SweptChorus(0, 2);
  const Track tr = TrackDelay(s.in, s.left, 520, 900);
  const double excursion = 4e-3 * kRate;
  // RMS distance (ms) of the track from a triangle and from a sine of the
  // same centre, depth and phase; the window rounds the corners, so those
  // are left out.
  double triangleSq = 0, sineSq = 0;
  int n = 0;
  for (size_t i = 0; i < tr.t.size(); ++i) {
    const double cyc = tr.t[i] - std::floor(tr.t[i]);  // 1 Hz, phase 0 at t = 0
    if (std::fabs(cyc - 0.25) < 0.02 || std::fabs(cyc - 0.75) < 0.02) continue;
    const double tri = 1 - 4 * std::fabs(cyc + 0.25 - std::floor(cyc + 0.25) - 0.5);
    triangleSq += std::pow(tr.delay[i] - (kCentreFrames + excursion * tri), 2);
    sineSq += std::pow(tr.delay[i] - (kCentreFrames + excursion * std::sin(2 * kPi * cyc)), 2);
    ++n;
  }
  EXPECT_LT(std::sqrt(triangleSq / n) / kRate * 1000, 0.05);
  EXPECT_GT(std::sqrt(sineSq / n) / kRate * 1000, 0.2);
}

TEST(ChorusTest, PhaseSettingShiftsTheRightSweep) {
  struct Case { int phase; double degrees; double tolerance; };
  const Case cases[] = {{3, 90, 5}, {1, -90, 5}, {2, 0, 2}, {0, 180, 2}, {4, 180, 2}};
  for (const Case& c : cases) {
    const Swept s = SweptChorus(1, c.phase);
    const Fit l = FitSine(TrackDelay(s.in, s.left, 520, 900), 1.0);
    const Fit r = FitSine(TrackDelay(s.in, s.right, 520, 900), 1.0);
    double diff = r.phaseDeg - l.phaseDeg;
    while (diff > 180.5) diff -= 360;
    while (diff < -179.5) diff += 360;
    if (c.degrees == 180 && diff < 0) diff += 360;
    EXPECT_NEAR(diff, c.degrees, c.tolerance) << "phase setting " << c.phase;
  }
}

TEST(ModulationTest, NoWetIsBypassDelayedByTheLatency) {
  const Stereo in = Noise(5000, 0.8f, 12);
  auto chorus = Prepared<Chorus>(kRate, {0, 10, 25, 1.1f, 1, 16, 3});
  Stereo c = in;
  ProcessAll(*chorus, c);
  EXPECT_EQ(c, in);

  auto flanger = Prepared<Flanger>(kRate, {0, 100, -50, 0.25f, 1, 2, 2});
  Stereo f = in;
  ProcessAll(*flanger, f);
  ASSERT_EQ(flanger->LatencyFrames(), 2);
  for (size_t i = 4; i < f.size(); ++i) ASSERT_EQ(f[i], in[i - 4]) << i;
}

TEST(ModulationTest, FeedbackLimitsStayFiniteAndDeterministic) {
  const Stereo noise = Noise(60 * kRate, 1.0f, 13);
  for (float fb : {-99.0f, 99.0f}) {
    Stereo a = noise, b = noise;
    auto c1 = Prepared<Chorus>(kRate, {50, 100, fb, 10, 1, 20, 3});
    auto c2 = Prepared<Chorus>(kRate, {50, 100, fb, 10, 1, 20, 3});
    ProcessAll(*c1, a);
    ProcessAll(*c2, b, 333);
    for (float v : a) ASSERT_TRUE(std::isfinite(v));
    EXPECT_EQ(a, b);
    Stereo f = noise, g = noise;
    auto f1 = Prepared<Flanger>(kRate, {50, 100, fb, 10, 1, 4, 2});
    auto f2 = Prepared<Flanger>(kRate, {50, 100, fb, 10, 1, 4, 2});
    ProcessAll(*f1, f);
    ProcessAll(*f2, g, 333);
    for (float v : f) ASSERT_TRUE(std::isfinite(v));
    EXPECT_EQ(f, g);
  }
}

}  // namespace
}  // namespace orve::dsp::test
