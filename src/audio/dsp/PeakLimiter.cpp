#include "audio/dsp/PeakLimiter.h"

#include <algorithm>
#include <cmath>

namespace orve::dsp {
namespace {
constexpr double kLookAheadMs = 1.5;
}

void PeakLimiter::Prepare(int sampleRate) {
  rate_ = sampleRate;
  window_ = MsToFrames(kLookAheadMs, rate_);
  for (DelayLine& l : audio_) l.Allocate(window_ + 1);
  held_.Allocate(window_ + 1);
  queueGain_.assign(static_cast<size_t>(window_) + 1, 1.0f);
  queueAt_.assign(static_cast<size_t>(window_) + 1, 0);
  TakeParameters(applied_);
  Reset();
}

void PeakLimiter::Reset() {
  for (DelayLine& l : audio_) l.Clear();
  held_.Clear();
  // The window starts full of "no limiting needed".
  for (int i = 0; i < window_; ++i) held_.Push(1.0f);
  heldSum_ = window_;
  limited_ = 0;
  queueHead_ = queueSize_ = 0;
  frame_ = 0;
  gain_ = 1;
  Apply(applied_);
}

void PeakLimiter::Apply(const LimiterParams& p) {
  applied_ = p;
  ceiling_ = static_cast<float>(DbToGain(p.ceilingDb));
  releasePole_ = std::exp(-1.0 / (p.releaseMs * 1e-3 * rate_));
}

float PeakLimiter::HeldMinimum(float need) {
  const int cap = static_cast<int>(queueGain_.size());
  // Drop entries that are no smaller than the new one, then the expired head.
  while (queueSize_ > 0) {
    const int last = (queueHead_ + queueSize_ - 1) % cap;
    if (queueGain_[static_cast<size_t>(last)] < need) break;
    --queueSize_;
  }
  const int at = (queueHead_ + queueSize_) % cap;
  queueGain_[static_cast<size_t>(at)] = need;
  queueAt_[static_cast<size_t>(at)] = frame_;
  ++queueSize_;
  if (queueAt_[static_cast<size_t>(queueHead_)] <= frame_ - window_) {
    queueHead_ = (queueHead_ + 1) % cap;
    --queueSize_;
  }
  ++frame_;
  return queueGain_[static_cast<size_t>(queueHead_)];
}

// Nothing being limited and nothing in the block to limit: the block only
// passes through the delay, with the same result the full path gives.
bool PeakLimiter::PassThrough(float* s, int frames) {
  if (limited_ != 0 || gain_ != 1) return false;
  for (int i = 0; i < 2 * frames; ++i) {
    if (std::fabs(s[i]) > ceiling_) return false;
  }
  for (int i = 0; i < frames; ++i, s += 2) {
    audio_[0].Push(s[0]);
    audio_[1].Push(s[1]);
    s[0] = audio_[0].Tap(window_);
    s[1] = audio_[1].Tap(window_);
  }
  // The window's needs are all 1: the queue holds just the newest.
  frame_ += frames;
  queueHead_ = 0;
  queueSize_ = 1;
  queueGain_[0] = 1.0f;
  queueAt_[0] = frame_ - 1;
  return true;
}

void PeakLimiter::Process(float* s, int frames) {
  if (rate_ == 0) return;
  LimiterParams p;
  if (TakeParameters(p)) Apply(p);
  if (PassThrough(s, frames)) return;
  for (int i = 0; i < frames; ++i, s += 2) {
    const float peak = std::max(std::fabs(s[0]), std::fabs(s[1]));
    const float need = peak > ceiling_ ? ceiling_ / peak : 1.0f;
    const float held = HeldMinimum(need);
    const float leaving = held_.Tap(window_);
    limited_ += (held < 1.0f) - (leaving < 1.0f);
    heldSum_ += static_cast<double>(held) - static_cast<double>(leaving);
    held_.Push(held);
    if (limited_ == 0) heldSum_ = window_;  // no rounding drift once the window is clear
    const float smooth = limited_ == 0 ? 1.0f : static_cast<float>(heldSum_ / window_);
    // In double: a float recovery stalls a few ulps below 1.
    gain_ = smooth < gain_ ? smooth : smooth + releasePole_ * (gain_ - smooth);
    if (smooth == 1.0f && gain_ > 1 - 1e-7) gain_ = 1;
    const auto g = static_cast<float>(gain_);
    audio_[0].Push(s[0]);
    audio_[1].Push(s[1]);
    s[0] = audio_[0].Tap(window_) * g;
    s[1] = audio_[1].Tap(window_) * g;
  }
}

}  // namespace orve::dsp
