#include "DspTestSupport.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>

extern "C" {
#include <libavutil/tx.h>
}

namespace orve::dsp::test {
namespace {
constexpr double kPi = 3.14159265358979323846;

struct Biquad {
  double b0, b1, b2, a1, a2, z1 = 0, z2 = 0;
  double Run(double x) {
    const double y = b0 * x + z1;
    z1 = b1 * x - a1 * y + z2;
    z2 = b2 * x - a2 * y;
    return y;
  }
};

Biquad BandPassBiquad(double hz, double octaves, int rate) {
  const double w0 = 2 * kPi * hz / rate;
  const double alpha = std::sin(w0) * std::sinh(std::log(2.0) / 2 * octaves * w0 / std::sin(w0));
  const double a0 = 1 + alpha;
  return {alpha / a0, 0, -alpha / a0, -2 * std::cos(w0) / a0, (1 - alpha) / a0};
}
}  // namespace

Stereo Sine(double hz, double amplitude, int rate, int frames) {
  Stereo s(2 * static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i)
    s[2 * i] = s[2 * i + 1] = static_cast<float>(amplitude * std::sin(2 * kPi * hz * i / rate));
  return s;
}

Stereo Impulse(int frames, float left, float right) {
  Stereo s(2 * static_cast<size_t>(frames), 0.0f);
  s[0] = left;
  s[1] = right;
  return s;
}

Stereo Noise(int frames, float amplitude, uint32_t seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<float> dist(-amplitude, amplitude);
  Stereo s(2 * static_cast<size_t>(frames));
  for (float& v : s) v = dist(gen);
  return s;
}

void ProcessAll(DspBlock& block, Stereo& audio, int blockFrames) {
  const int frames = static_cast<int>(audio.size() / 2);
  for (int at = 0; at < frames; at += blockFrames)
    block.Process(audio.data() + 2 * at, std::min(blockFrames, frames - at));
}

Mono Channel(const Stereo& audio, int channel) {
  Mono m(audio.size() / 2);
  for (size_t i = 0; i < m.size(); ++i) m[i] = audio[2 * i + static_cast<size_t>(channel)];
  return m;
}

double Db(double ratio) { return 20 * std::log10(ratio); }

double Energy(const Mono& x, size_t from, size_t to) {
  double e = 0;
  for (size_t i = from; i < to; ++i) e += double{x[i]} * x[i];
  return e;
}

double RmsDb(const Mono& x, size_t from, size_t to) {
  return 10 * std::log10(Energy(x, from, to) / static_cast<double>(to - from));
}

double PeakAbs(const Mono& x, size_t from, size_t to) {
  double p = 0;
  for (size_t i = from; i < to; ++i) p = std::max(p, double{std::fabs(x[i])});
  return p;
}

double ToneAmplitude(const Mono& x, double hz, int rate, size_t from, size_t to) {
  double s = 0, c = 0;
  for (size_t i = from; i < to; ++i) {
    const double ph = 2 * kPi * hz * static_cast<double>(i) / rate;
    s += x[i] * std::sin(ph);
    c += x[i] * std::cos(ph);
  }
  return 2 * std::hypot(s, c) / static_cast<double>(to - from);
}

Mono BandPass(const Mono& x, double centreHz, double octaves, int rate, int sections) {
  Mono y = x;
  for (int k = 0; k < sections; ++k) {
    Biquad f = BandPassBiquad(centreHz, octaves, rate);
    for (float& v : y) v = static_cast<float>(f.Run(v));
  }
  return y;
}

Mono HighPass(const Mono& x, double cornerHz, int rate) {
  const double w0 = 2 * kPi * cornerHz / rate;
  Mono y = x;
  for (double q : {0.54119610, 1.3065630}) {  // Butterworth 4th order
    const double alpha = std::sin(w0) / (2 * q), c = std::cos(w0), a0 = 1 + alpha;
    Biquad f{(1 + c) / 2 / a0, -(1 + c) / a0, (1 + c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0};
    for (float& v : y) v = static_cast<float>(f.Run(v));
  }
  return y;
}

Mono LowPass(const Mono& x, double cornerHz, int rate) {
  const double w0 = 2 * kPi * cornerHz / rate;
  Mono y = x;
  for (double q : {0.54119610, 1.3065630}) {
    const double alpha = std::sin(w0) / (2 * q), c = std::cos(w0), a0 = 1 + alpha;
    Biquad f{(1 - c) / 2 / a0, (1 - c) / a0, (1 - c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0};
    for (float& v : y) v = static_cast<float>(f.Run(v));
  }
  return y;
}

size_t WholePeriods(double hz, int rate, double seconds) {
  const double periods = std::ceil(seconds * hz);
  return static_cast<size_t>(std::lround(periods * rate / hz));
}

double Rt60(const Mono& h, int rate) {
  std::vector<double> edc(h.size() + 1, 0.0);
  for (size_t i = h.size(); i-- > 0;) edc[i] = edc[i + 1] + double{h[i]} * h[i];
  const double total = edc[0];
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  int n = 0;
  for (size_t i = 0; i < h.size(); ++i) {
    const double db = 10 * std::log10(edc[i] / total);
    if (db > -5) continue;
    if (db < -35) break;
    const double t = static_cast<double>(i) / rate;
    sx += t, sy += db, sxx += t * t, sxy += t * db, ++n;
  }
  const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);  // dB per second
  return -60.0 / slope;
}

Spectrum HannSpectrum(const Mono& x, int rate) {
  size_t n = 1;
  while (n < x.size()) n <<= 1;
  std::vector<AVComplexDouble> in(n, AVComplexDouble{0, 0}), out(n);
  for (size_t i = 0; i < x.size(); ++i) {
    const double w = 0.5 - 0.5 * std::cos(2 * kPi * static_cast<double>(i) / static_cast<double>(x.size()));
    in[i].re = x[i] * w;
  }
  AVTXContext* ctx = nullptr;
  av_tx_fn fn = nullptr;
  double scale = 1.0;
  if (av_tx_init(&ctx, &fn, AV_TX_DOUBLE_FFT, 0, static_cast<int>(n), &scale, 0) < 0)
    throw std::runtime_error("av_tx_init failed");
  fn(ctx, out.data(), in.data(), sizeof(AVComplexDouble));
  av_tx_uninit(&ctx);
  Spectrum s;
  s.binHz = static_cast<double>(rate) / static_cast<double>(n);
  s.db.resize(n / 2);
  for (size_t k = 0; k < n / 2; ++k) s.db[k] = 10 * std::log10(out[k].re * out[k].re + out[k].im * out[k].im + 1e-300);
  return s;
}

}  // namespace orve::dsp::test
