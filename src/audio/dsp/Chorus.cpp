#include "audio/dsp/Chorus.h"

namespace orve::dsp {
namespace {
constexpr double kMaxDelayMs = 20;
}

void Chorus::Prepare(int sampleRate) {
  rate_ = sampleRate;
  sweep_.Prepare(rate_);
  line_.Allocate(Sweep::MaxTap(kMaxDelayMs, rate_));
  TakeParameters(applied_);
  Reset();
}

void Chorus::Reset() {
  line_.Clear();
  sweep_.ResetPhase();
  Apply(applied_, true);
}

void Chorus::Apply(const ChorusParams& p, bool snap) {
  applied_ = p;
  sweep_.Set({p.wetDryMix, p.depth, p.feedback, p.frequency, p.waveform, p.delay, p.phase}, snap);
}

void Chorus::Process(float* s, int frames) {
  if (rate_ == 0) return;
  ChorusParams p;
  if (bool first = false; TakeParameters(p, first)) Apply(p, first);
  for (int i = 0; i < frames; ++i, s += 2) {
    const SweepFrame k = sweep_.Next();
    const float fed = line_.TapLinear(k.centre);
    const float wl = line_.TapLinear(k.tau[0]);
    const float wr = line_.TapLinear(k.tau[1]);
    line_.Push(0.5f * (s[0] + s[1]) + k.feedback * fed);
    s[0] = (1 - k.mix) * s[0] + k.mix * wl;
    s[1] = (1 - k.mix) * s[1] + k.mix * wr;
  }
}

}  // namespace orve::dsp
