#include "audio/dsp/Gargle.h"

namespace orve::dsp {
namespace {
constexpr double kShapeFadeMs = 10;
}

void Gargle::Prepare(int sampleRate) {
  rate_ = sampleRate;
  TakeParameters(applied_);
  Reset();
}

void Gargle::Reset() {
  phase_ = 0;
  Apply(applied_, true);
}

void Gargle::Apply(const GargleParams& p, bool snap) {
  applied_ = p;
  increment_ = static_cast<double>(p.rateHz) / rate_;
  squareWeight_.SetTarget(p.waveShape == 1 ? 1.0f : 0.0f,
                          snap ? 0 : MsToFrames(kShapeFadeMs, rate_));
}

void Gargle::Process(float* s, int frames) {
  if (rate_ == 0) return;
  GargleParams p;
  if (bool first = false; TakeParameters(p, first)) Apply(p, first);
  for (int i = 0; i < frames; ++i, s += 2) {
    const float w = squareWeight_.Next();
    const float square = phase_ < 0.5 ? 1.0f : 0.0f;
    const float triangle = static_cast<float>(phase_ < 0.5 ? 2 * phase_ : 2 * (1 - phase_));
    const float mod = w == 1.0f ? square : triangle + w * (square - triangle);
    s[0] *= mod;
    s[1] *= mod;
    phase_ += increment_;
    if (phase_ >= 1.0) phase_ -= 1.0;
  }
}

}  // namespace orve::dsp
