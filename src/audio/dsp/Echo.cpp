#include "audio/dsp/Echo.h"

#include <algorithm>
#include <cmath>

namespace orve::dsp {
namespace {
constexpr double kMaxDelayMs = 2000;
constexpr double kRampMs = 10;
constexpr double kFadeMs = 20;
}  // namespace

void Echo::Prepare(int sampleRate) {
  rate_ = sampleRate;
  const int maxDelay = static_cast<int>(kMaxDelayMs * 1e-3 * rate_) + 1;
  for (DelayLine& l : line_) l.Allocate(maxDelay);
  TakeParameters(applied_);
  Reset();
}

void Echo::Reset() {
  for (DelayLine& l : line_) l.Clear();
  Apply(applied_, true);
}

Echo::Route Echo::RouteFor(const EchoParams& p) const {
  Route r;
  r.delay[0] = std::max(1, static_cast<int>(std::floor(p.leftDelay * 1e-3 * rate_)));
  r.delay[1] = std::max(1, static_cast<int>(std::floor(p.rightDelay * 1e-3 * rate_)));
  r.swap = p.panDelay != 0;
  return r;
}

void Echo::Apply(const EchoParams& p, bool snap) {
  applied_ = p;
  const int ramp = snap ? 0 : MsToFrames(kRampMs, rate_);
  mix_.SetTarget(p.wetDryMix / 100.0f, ramp);
  feedback_.SetTarget(p.feedback / 100.0f, ramp);
  const float f = feedback_.Target();
  inputGain_ = std::sqrt(std::max(0.0f, 1.0f - f * f));
  pending_ = RouteFor(p);
  if (snap) {
    route_ = oldRoute_ = pending_;
    fade_.Stop();
  } else if (!fade_.Active()) {
    StartPendingFade();
  }
}

void Echo::StartPendingFade() {
  if (pending_ == route_) return;
  oldRoute_ = route_;
  route_ = pending_;
  fade_.Start(MsToFrames(kFadeMs, rate_));
}

void Echo::Read(const Route& r, float& left, float& right) const {
  const float fromLeft = line_[0].Tap(r.delay[0]);
  const float fromRight = line_[1].Tap(r.delay[1]);
  left = r.swap ? fromRight : fromLeft;
  right = r.swap ? fromLeft : fromRight;
}

void Echo::Process(float* s, int frames) {
  if (rate_ == 0) return;
  EchoParams p;
  if (bool first = false; TakeParameters(p, first)) Apply(p, first);
  for (int i = 0; i < frames; ++i, s += 2) {
    const float m = mix_.Next();
    float gi = inputGain_;
    float f;
    if (feedback_.Moving()) {
      f = feedback_.Next();
      gi = std::sqrt(std::max(0.0f, 1.0f - f * f));
    } else {
      f = feedback_.Next();
    }
    float rl, rr;
    Read(route_, rl, rr);
    if (fade_.Active()) {
      float ol, orr;
      Read(oldRoute_, ol, orr);
      const float w = fade_.Next();
      rl = ol + w * (rl - ol);
      rr = orr + w * (rr - orr);
      if (!fade_.Active()) StartPendingFade();
    }
    line_[0].Push(gi * s[0] + f * rl);
    line_[1].Push(gi * s[1] + f * rr);
    s[0] = (1 - m) * s[0] + m * rl;
    s[1] = (1 - m) * s[1] + m * rr;
  }
}

}  // namespace orve::dsp
