#include "audio/dsp/Flanger.h"

namespace orve::dsp {
namespace {
constexpr double kMaxDelayMs = 4;
}

void Flanger::Prepare(int sampleRate) {
  rate_ = sampleRate;
  sweep_.Prepare(rate_);
  for (DelayLine& l : line_) l.Allocate(Sweep::MaxTap(kMaxDelayMs, rate_));
  TakeParameters(applied_);
  Reset();
}

void Flanger::Reset() {
  for (DelayLine& l : line_) l.Clear();
  for (auto& d : dry_) d[0] = d[1] = 0;
  sweep_.ResetPhase();
  Apply(applied_, true);
}

void Flanger::Apply(const FlangerParams& p, bool snap) {
  applied_ = p;
  sweep_.Set({p.wetDryMix, p.depth, p.feedback, p.frequency, p.waveform, p.delay, p.phase}, snap);
}

void Flanger::Process(float* s, int frames) {
  if (rate_ == 0) return;
  FlangerParams p;
  if (bool first = false; TakeParameters(p, first)) Apply(p, first);
  for (int i = 0; i < frames; ++i, s += 2) {
    const SweepFrame k = sweep_.Next();
    for (int c = 0; c < 2; ++c) {
      const float x = s[c];
      const float fed = line_[c].TapLinear(k.centre);
      const float wet = line_[c].TapLinear(k.tau[c]);
      line_[c].Push(x + k.feedback * fed);
      const float dry = dry_[c][1];
      dry_[c][1] = dry_[c][0];
      dry_[c][0] = x;
      s[c] = (1 - k.mix) * dry + k.mix * wet;
    }
  }
}

}  // namespace orve::dsp
