#include "audio/dsp/I3dl2Reverb.h"

#include <algorithm>
#include <cmath>

#include "audio/dsp/DspMath.h"
#include "audio/dsp/OnePole.h"

namespace orve::dsp {
namespace {

constexpr float kSmoothing = 0.12f;  // per update: ~256 frames to settle
constexpr double kMaxReflectionsS = 0.3, kMaxReverbDelayS = 0.1;
constexpr double kFadeMs = 20;
// Early tap positions as fractions of ReverbDelay, after the first at 0.
constexpr double kTapAt[2][I3dl2Reverb::kEarlyTaps] = {
    {0, .11, .18, .27, .40, .54, .69, .83, .94},
    {0, .13, .21, .31, .37, .49, .63, .79, .91}};

// Tap weights: 0.85^k, alternating signs, R's signs opposite after the first.
struct TapWeights {
  float w[2][I3dl2Reverb::kEarlyTaps];
  float norm;  // 1 / sqrt(sum of squares of one channel)
  TapWeights() {
    float sum = 0;
    for (int k = 0; k < I3dl2Reverb::kEarlyTaps; ++k) {
      const float m = std::pow(0.85f, static_cast<float>(k));
      w[0][k] = k % 2 == 0 ? m : -m;
      w[1][k] = k == 0 || k % 2 == 1 ? m : -m;
      sum += m * m;
    }
    norm = 1.0f / std::sqrt(sum);
  }
};
const TapWeights kWeights;

void Smooth(float& value, float target) {
  value += kSmoothing * (target - value);
  if (std::fabs(value - target) < 1e-7f) value = target;
}

}  // namespace

void I3dl2Reverb::Prepare(int sampleRate) {
  rate_ = sampleRate;
  const int maxDelay = static_cast<int>((kMaxReflectionsS + kMaxReverbDelayS) * rate_) + 2;
  for (DelayLine& l : input_) l.Allocate(maxDelay);
  diffuser_.Allocate(rate_);
  network_.Allocate(rate_);
  TakeParameters(applied_);
  Reset();
}

void I3dl2Reverb::Reset() {
  room_[0] = room_[1] = 0;
  for (DelayLine& l : input_) l.Clear();
  diffuser_.Clear();
  network_.Clear();
  Apply(applied_, true);
}

I3dl2Reverb::Taps I3dl2Reverb::TapsFor(const I3dl2ReverbParams& p) const {
  Taps t;
  const double first = p.reflectionsDelay * rate_;
  const double spread = p.reverbDelay * rate_;
  for (int c = 0; c < 2; ++c)
    for (int k = 0; k < kEarlyTaps; ++k)
      t.early[c][k] = static_cast<int>(std::lround(first + spread * kTapAt[c][k]));
  t.late = static_cast<int>(std::lround(first + spread));
  return t;
}

I3dl2Reverb::Coefs I3dl2Reverb::CoefsFor(const I3dl2ReverbParams& p) const {
  Coefs c;
  const double omega = 2 * kPi * std::min<double>(p.hfReference, 0.45 * rate_) / rate_;
  c.roomC = static_cast<float>(OnePoleForGain(std::pow(10.0, p.roomHF / 1000.0), omega));
  c.earlyGain = static_cast<float>(std::min(1.0, MillibelToGain(p.room + p.reflections))) * kWeights.norm;
  c.diffusion = 0.618f * p.diffusion / 100.0f;
  double meanSquare = 0;
  for (int i = 0; i < kLines; ++i) {
    const double g = std::min(0.999, std::pow(10.0, -3.0 * network_.Length(i) / (rate_ * p.decayTime)));
    double damp = OnePoleForGain(std::pow(g, 2.0 * (1.0 / p.decayHFRatio - 1.0)), omega);
    // Never above 0.999 per pass at any frequency: (1-c)/(1+c) is the peak for c < 0.
    const double r = 0.999 / g;
    damp = std::max(damp, (1 - r) / (1 + r));
    c.decay[i] = static_cast<float>(g);
    c.damping[i] = static_cast<float>(damp);
    meanSquare += g * g / kLines;
  }
  // Each output reads half the lines twice; the energy written into all
  // lines is about 1/(1 - mean g^2), and each output hears about all of it.
  const double late = std::min(1.0, MillibelToGain(p.room + p.reverb));
  c.lateGain = static_cast<float>(late * std::sqrt(1.0 - meanSquare));
  return c;
}

void I3dl2Reverb::Apply(const I3dl2ReverbParams& p, bool snap) {
  applied_ = p;
  network_.SetScale(0.1 + 0.9 * p.density / 100.0, snap);
  target_ = CoefsFor(p);
  pendingTaps_ = TapsFor(p);
  if (snap) {
    coefs_ = target_;
    earlyGainFrom_ = coefs_.earlyGain;
    lateGainFrom_ = coefs_.lateGain;
    network_.SetLoop(coefs_.decay, coefs_.damping);
    diffuser_.SetCoefficient(coefs_.diffusion);
    taps_ = oldTaps_ = pendingTaps_;
    fade_.Stop();
    untilUpdate_ = kUpdateFrames;
  } else if (!fade_.Active()) {
    StartPendingFade();
  }
}

void I3dl2Reverb::StartPendingFade() {
  if (pendingTaps_ == taps_) return;
  oldTaps_ = taps_;
  taps_ = pendingTaps_;
  fade_.Start(MsToFrames(kFadeMs, rate_));
}

void I3dl2Reverb::StepCoefs() {
  earlyGainFrom_ = coefs_.earlyGain;
  lateGainFrom_ = coefs_.lateGain;
  Smooth(coefs_.roomC, target_.roomC);
  Smooth(coefs_.earlyGain, target_.earlyGain);
  Smooth(coefs_.lateGain, target_.lateGain);
  Smooth(coefs_.diffusion, target_.diffusion);
  for (int i = 0; i < kLines; ++i) {
    Smooth(coefs_.decay[i], target_.decay[i]);
    Smooth(coefs_.damping[i], target_.damping[i]);
  }
  network_.SetLoop(coefs_.decay, coefs_.damping);
  diffuser_.SetCoefficient(coefs_.diffusion);
}

void I3dl2Reverb::Process(float* stereo, int frames) {
  if (rate_ == 0) return;
  I3dl2ReverbParams p;
  if (bool first = false; TakeParameters(p, first)) Apply(p, first);
  InStepSpans(stereo, frames, kUpdateFrames, untilUpdate_, [this] { StepCoefs(); },
              [this](float* s, int n) { Run(s, n); });
}

// After n frames were pushed, frame i of them is Tap(n - i), and the frame
// `d` earlier is Tap(n - i + d). Each tap reads a run of consecutive frames.
void I3dl2Reverb::ReadTaps(const Taps& t, int n, float (*early)[kUpdateFrames], float* late) const {
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < n; ++i) early[c][i] = 0;
    for (int k = 0; k < kEarlyTaps; ++k) {
      const float w = kWeights.w[c][k];
      const int d = t.early[c][k] + n;
      for (int i = 0; i < n; ++i) early[c][i] += w * input_[c].Tap(d - i);
    }
  }
  for (int i = 0; i < n; ++i)
    late[i] = 0.5f * (input_[0].Tap(t.late + n - i) + input_[1].Tap(t.late + n - i));
}

void I3dl2Reverb::Run(float* s, int n) {
  const float c = coefs_.roomC;
  for (int i = 0; i < n; ++i) {
    room_[0] = FlushTiny((1 - c) * s[2 * i] + c * room_[0]);
    room_[1] = FlushTiny((1 - c) * s[2 * i + 1] + c * room_[1]);
    input_[0].Push(room_[0]);
    input_[1].Push(room_[1]);
  }
  float early[2][kUpdateFrames], late[kUpdateFrames];
  ReadTaps(taps_, n, early, late);
  if (fade_.Active()) {
    float oldEarly[2][kUpdateFrames], oldLate[kUpdateFrames];
    ReadTaps(oldTaps_, n, oldEarly, oldLate);
    for (int i = 0; i < n; ++i) {
      const float w = fade_.Next();
      for (int ch = 0; ch < 2; ++ch) early[ch][i] = oldEarly[ch][i] + w * (early[ch][i] - oldEarly[ch][i]);
      late[i] = oldLate[i] + w * (late[i] - oldLate[i]);
    }
    if (!fade_.Active()) StartPendingFade();
  }
  // Position of these frames inside the update period, for the gain ramps.
  const int done = kUpdateFrames - untilUpdate_;
  const float earlyStep = (coefs_.earlyGain - earlyGainFrom_) / kUpdateFrames;
  const float lateStep = (coefs_.lateGain - lateGainFrom_) / kUpdateFrames;
  for (int i = 0; i < n; ++i) late[i] = diffuser_.Process(late[i]);
  float ll[kUpdateFrames], lr[kUpdateFrames];
  network_.Process(late, ll, lr, n);
  for (int i = 0; i < n; ++i, s += 2) {
    const auto k = static_cast<float>(done + i + 1);
    const float eg = earlyGainFrom_ + earlyStep * k;
    const float lg = lateGainFrom_ + lateStep * k;
    s[0] += eg * early[0][i] + lg * ll[i];
    s[1] += eg * early[1][i] + lg * lr[i];
  }
}

}  // namespace orve::dsp
