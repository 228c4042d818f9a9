#include "audio/dsp/ParamEq.h"

#include <algorithm>
#include <cmath>

#include "audio/dsp/DspMath.h"

namespace orve::dsp {
namespace {

constexpr int kUpdateFrames = 32;
constexpr double kGainTau = 0.010;   // s
constexpr double kShapeTau = 0.020;  // s
constexpr double kBypassAbove = 0.45;  // fraction of the rate
constexpr double kSnapDb = 1e-4;       // smoother lands on the target below this

double PoleFor(double tau, int rate) { return std::exp(-kUpdateFrames / (tau * rate)); }

bool Approach(double& value, double target, double pole, double snap) {
  value = target + (value - target) * pole;
  if (std::fabs(value - target) >= snap) return true;
  value = target;
  return false;
}

}  // namespace

void ParamEq::Prepare(int sampleRate) {
  rate_ = sampleRate;
  gainPole_ = PoleFor(kGainTau, rate_);
  shapePole_ = PoleFor(kShapeTau, rate_);
  TakeParameters(applied_);
  Reset();
}

void ParamEq::Reset() {
  Apply(applied_, true);
  ClearState();
}

void ParamEq::ClearState() {
  history_[0] = history_[1] = History{};
}

void ParamEq::Apply(const ParamEqParams& p, bool snap) {
  applied_ = p;
  gainDb_.target = p.gain;
  logCenter_.target = std::log2(static_cast<double>(p.center));
  bandwidth_.target = p.bandwidth;
  if (snap) {
    gainDb_.value = gainDb_.target;
    logCenter_.value = logCenter_.target;
    bandwidth_.value = bandwidth_.target;
    untilUpdate_ = kUpdateFrames;
  }
  moving_ = true;
  if (snap) Step();
}

void ParamEq::Step() {
  if (!moving_) return;
  const bool g = Approach(gainDb_.value, gainDb_.target, gainPole_, kSnapDb);
  const bool c = Approach(logCenter_.value, logCenter_.target, shapePole_, 1e-6);
  const bool b = Approach(bandwidth_.value, bandwidth_.target, shapePole_, 1e-5);
  moving_ = g || c || b;
  const bool wasActive = active_;
  active_ = gainDb_.value != 0.0 && std::exp2(logCenter_.value) < kBypassAbove * rate_;
  if (!active_ && wasActive) ClearState();
  if (active_) UpdateCoefficients();
}

void ParamEq::UpdateCoefficients() {
  if (shapeFor_[0] != logCenter_.value || shapeFor_[1] != bandwidth_.value) {
    const double w0 = 2 * kPi * std::exp2(logCenter_.value) / rate_;
    const double octaves = bandwidth_.value / 12.0;
    cosW0_ = std::cos(w0);
    alpha_ = std::sin(w0) * std::sinh(std::log(2.0) / 2 * octaves * w0 / std::sin(w0));
    shapeFor_[0] = logCenter_.value;
    shapeFor_[1] = bandwidth_.value;
  }
  const double a = std::pow(10.0, gainDb_.value / 40.0);
  const double a0 = 1 + alpha_ / a;
  b0_ = (1 + alpha_ * a) / a0;
  b1_ = -2 * cosW0_ / a0;
  b2_ = (1 - alpha_ * a) / a0;
  a1_ = b1_;
  a2_ = (1 - alpha_ / a) / a0;
}

void ParamEq::Process(float* stereo, int frames) {
  if (rate_ == 0) return;
  ParamEqParams p;
  if (bool first = false; TakeParameters(p, first)) Apply(p, first);
  InStepSpans(stereo, frames, kUpdateFrames, untilUpdate_, [this] { Step(); },
              [this](float* s, int n) {
                if (active_) Run(s, n);
              });
}

void ParamEq::Run(float* s, int frames) {
  const double b0 = b0_, b1 = b1_, b2 = b2_, a1 = a1_, a2 = a2_;
  History l = history_[0], r = history_[1];
  for (int i = 0; i < frames; ++i) {
    const double xl = s[2 * i], xr = s[2 * i + 1];
    // Everything but the a1 term is ready before the previous output, so the
    // loop-carried chain is one multiply-add per frame.
    const double yl = (b0 * xl + b1 * l.x1 + b2 * l.x2 - a2 * l.y2) - a1 * l.y1;
    const double yr = (b0 * xr + b1 * r.x1 + b2 * r.x2 - a2 * r.y2) - a1 * r.y1;
    l = {xl, l.x1, yl, l.y1};
    r = {xr, r.x1, yr, r.y1};
    s[2 * i] = static_cast<float>(yl);
    s[2 * i + 1] = static_cast<float>(yr);
  }
  // Flushed every update period at most: the state cannot fall from 1e-20
  // into the subnormal range within 32 frames.
  for (History* h : {&l, &r}) {
    h->y1 = FlushTiny(h->y1);
    h->y2 = FlushTiny(h->y2);
  }
  history_[0] = l;
  history_[1] = r;
}

}  // namespace orve::dsp
