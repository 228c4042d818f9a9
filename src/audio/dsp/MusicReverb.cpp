#include "audio/dsp/MusicReverb.h"

#include <algorithm>
#include <cmath>

#include "audio/dsp/DspMath.h"

namespace orve::dsp {
namespace {

enum { kA = 0, kB = 1, kC = 2, kD = 3 };
constexpr double kLoopMs[MusicReverb::kLoops] = {45.0, 63.6, 53.5, 75.7};  // A, B, C, D
constexpr int kPairOf[MusicReverb::kLoops] = {0, 0, 1, 1};
constexpr double kPairFraction = 0.115;
constexpr float kAllpass = 0.618f;
constexpr float kRotation = 0.70710678f;
constexpr double kRampMs = 10;
constexpr int kUpdateFrames = 32;
constexpr float kSmoothing = 0.12f;
constexpr int kEnergyPoints = 64;

void Smooth(float& value, float target) {
  value += kSmoothing * (target - value);
  if (std::fabs(value - target) < 1e-7f) value = target;
}

// Power gain of a pair's lossy all-pass for broadband input: the direct
// part g^2, then the dispersed part, each round trip of its delay scaled by
// `stateGain`. 1 when stateGain is 1 (lossless).
double AllpassPower(double stateGain) {
  const double g2 = double{kAllpass} * kAllpass, s2 = stateGain * stateGain;
  return g2 + (1 - g2) * (1 - g2) * s2 / (1 - g2 * s2);
}

// Tail energy of one loop fed a unit impulse: the sum over passes of the
// per-pass power gain, averaged over frequency.
double LoopEnergy(double passPower, double d) {
  double sum = 0;
  for (int j = 0; j < kEnergyPoints; ++j) {
    const double w = kPi * (j + 0.5) / kEnergyPoints;
    const double h2 = (1 - d) * (1 - d) + d * d + 2 * d * (1 - d) * std::cos(w);
    const double x = passPower * h2;
    sum += x / (1 - x);
  }
  return sum / kEnergyPoints;
}

double NormFor(double energy) { return energy > 1e-30 ? 1.0 / std::sqrt(energy) : 0.0; }

}  // namespace

void MusicReverb::Prepare(int sampleRate) {
  rate_ = sampleRate;
  for (int p = 0; p < 2; ++p) {
    const double pairMs = kPairFraction * (kLoopMs[2 * p] + kLoopMs[2 * p + 1]);
    pairFrames_[p] = MsToFrames(pairMs, rate_);
  }
  for (int k = 0; k < kLoops; ++k) {
    loopFrames_[k] = MsToFrames(kLoopMs[k], rate_);
    lineFrames_[k] = std::max(1, loopFrames_[k] - pairFrames_[kPairOf[k]]);
    line_[k].Allocate(lineFrames_[k]);
    pair_[k].Allocate(pairFrames_[kPairOf[k]]);
  }
  TakeParameters(applied_);
  Reset();
}

void MusicReverb::Reset() {
  for (int k = 0; k < kLoops; ++k) {
    line_[k].Clear();
    pair_[k].Clear();
    previous_[k] = 0;
  }
  Apply(applied_, true);
}

MusicReverb::Coefs MusicReverb::CoefsFor(const MusicReverbParams& p) const {
  Coefs c;
  const double perFrame = -3.0 / (rate_ * p.reverbTime * 1e-3);  // log10 of the gain per frame
  for (int q = 0; q < 2; ++q) c.stateGain[q] = static_cast<float>(std::pow(10.0, perFrame * pairFrames_[q]));
  double energy[kLoops];
  for (int k = 0; k < kLoops; ++k) {
    const double g = std::pow(10.0, perFrame * loopFrames_[k]);
    const double d = 0.5 * (1 - std::pow(g, 1.0 / p.highFreqRTRatio - 1.0));
    const double line = std::pow(10.0, perFrame * lineFrames_[k]);
    c.lineGain[k] = static_cast<float>(line);
    c.damping[k] = static_cast<float>(d);
    energy[k] = LoopEnergy(line * line * AllpassPower(c.stateGain[kPairOf[k]]), d);
  }
  // A unit impulse on both inputs: L hears loops A and C, R hears B and D.
  c.norm[0] = static_cast<float>(NormFor(energy[kA] + energy[kC]));
  c.norm[1] = static_cast<float>(NormFor(energy[kB] + energy[kD]));
  return c;
}

void MusicReverb::Apply(const MusicReverbParams& p, bool snap) {
  applied_ = p;
  const double wetPower = std::pow(10.0, p.reverbMix / 10.0);
  const double in = DbToGain(p.inGain);
  const int ramp = snap ? 0 : MsToFrames(kRampMs, rate_);
  dry_.SetTarget(static_cast<float>(in * std::sqrt(std::max(0.0, 1 - wetPower))), ramp);
  wet_.SetTarget(static_cast<float>(in * std::sqrt(wetPower)), ramp);
  target_ = CoefsFor(p);
  if (snap) {
    coefs_ = target_;
    untilUpdate_ = kUpdateFrames;
  }
}

void MusicReverb::StepCoefs() {
  for (int k = 0; k < kLoops; ++k) {
    Smooth(coefs_.lineGain[k], target_.lineGain[k]);
    Smooth(coefs_.damping[k], target_.damping[k]);
  }
  for (int q = 0; q < 2; ++q) Smooth(coefs_.stateGain[q], target_.stateGain[q]);
  Smooth(coefs_.norm[0], target_.norm[0]);
  Smooth(coefs_.norm[1], target_.norm[1]);
}

void MusicReverb::Process(float* stereo, int frames) {
  if (rate_ == 0) return;
  MusicReverbParams p;
  if (bool first = false; TakeParameters(p, first)) Apply(p, first);
  InStepSpans(stereo, frames, kUpdateFrames, untilUpdate_, [this] { StepCoefs(); },
              [this](float* s, int n) { Run(s, n); });
}

void MusicReverb::Loops(const float* in, float* out) {
  float a[kLoops];
  for (int k = 0; k < kLoops; ++k) a[k] = coefs_.lineGain[k] * line_[k].Tap(lineFrames_[k]);
  float passed[kLoops];
  for (int q = 0; q < 2; ++q) {
    const int i = 2 * q, j = 2 * q + 1;
    const float di = coefs_.stateGain[q] * pair_[i].Tap(pairFrames_[q]);
    const float dj = coefs_.stateGain[q] * pair_[j].Tap(pairFrames_[q]);
    const float ei = kRotation * (di - dj);
    const float ej = kRotation * (di + dj);
    const float wi = a[i] + kAllpass * ei;
    const float wj = a[j] + kAllpass * ej;
    pair_[i].Push(wi);
    pair_[j].Push(wj);
    passed[i] = ei - kAllpass * wi;
    passed[j] = ej - kAllpass * wj;
  }
  for (int k = 0; k < kLoops; ++k) {
    const float d = coefs_.damping[k];
    out[k] = (1 - d) * passed[k] + d * previous_[k];
    previous_[k] = passed[k];
    line_[k].Push(out[k] + in[k]);
  }
}

void MusicReverb::Run(float* s, int frames) {
  const float normL = coefs_.norm[0], normR = coefs_.norm[1];
  for (int i = 0; i < frames; ++i, s += 2) {
    const float dry = dry_.Next();
    const float wet = wet_.Next();
    const float in[kLoops] = {wet * s[0], wet * s[1], -wet * s[1], wet * s[0]};  // A B C D
    float out[kLoops];
    Loops(in, out);
    s[0] = dry * s[0] + normL * (out[kA] + out[kC]);
    s[1] = dry * s[1] + normR * (out[kB] + out[kD]);
  }
}

}  // namespace orve::dsp
