#include "audio/dsp/FeedbackNetwork.h"

#include <cmath>

namespace orve::dsp {
namespace {

constexpr double kBaseMs[FeedbackNetwork::kLines] = {30.0, 33.7, 38.1, 42.6, 48.3, 55.4, 64.3, 75.0};
constexpr double kFadeMs = 50;
const float kInputGain = static_cast<float>(1.0 / std::sqrt(double{FeedbackNetwork::kLines}));
constexpr float kMix = 2.0f / FeedbackNetwork::kLines;

bool IsPrime(int n) {
  if (n < 2) return false;
  for (int d = 2; d * d <= n; ++d)
    if (n % d == 0) return false;
  return true;
}

}  // namespace

void FeedbackNetwork::Allocate(int sampleRate) {
  rate_ = sampleRate;
  int longest[kLines];
  Lengths(1.0, longest);
  for (int i = 0; i < kLines; ++i) line_[i].Allocate(longest[i] + 64);
  SetScale(scale_, true);
  Clear();
}

void FeedbackNetwork::Clear() {
  for (int i = 0; i < kLines; ++i) {
    line_[i].Clear();
    lowpass_[i] = 0;
  }
}

// Distinct, increasing primes: no two lines share a period.
void FeedbackNetwork::Lengths(double scale, int* out) const {
  int previous = 1;
  for (int i = 0; i < kLines; ++i) {
    int n = static_cast<int>(std::lround(kBaseMs[i] * 1e-3 * rate_ * scale));
    if (n <= previous) n = previous + 1;
    while (!IsPrime(n)) ++n;
    out[i] = previous = n;
  }
}

void FeedbackNetwork::SetScale(double scale, bool snap) {
  pendingScale_ = scale;
  if (snap) {
    scale_ = scale;
    Lengths(scale_, length_);
    Lengths(scale_, oldLength_);
    fade_.Stop();
  } else if (!fade_.Active()) {
    StartPendingFade();
  }
}

void FeedbackNetwork::StartPendingFade() {
  if (pendingScale_ == scale_) return;
  for (int i = 0; i < kLines; ++i) oldLength_[i] = length_[i];
  scale_ = pendingScale_;
  Lengths(scale_, length_);
  fade_.Start(static_cast<int>(kFadeMs * 1e-3 * rate_));
}

void FeedbackNetwork::SetLoop(const float* decay, const float* damping) {
  for (int i = 0; i < kLines; ++i) {
    decay_[i] = decay[i];
    damping_[i] = damping[i];
  }
}

void FeedbackNetwork::Process(float in, float& left, float& right) {
  float v[kLines], mid[kLines];
  if (fade_.Active()) {
    const float w = fade_.Next();
    for (int i = 0; i < kLines; ++i) {
      const float oldTap = line_[i].Tap(oldLength_[i]);
      const float oldMid = line_[i].Tap(oldLength_[i] / 2);
      v[i] = oldTap + w * (line_[i].Tap(length_[i]) - oldTap);
      mid[i] = oldMid + w * (line_[i].Tap(length_[i] / 2) - oldMid);
    }
    if (!fade_.Active()) StartPendingFade();
  } else {
    for (int i = 0; i < kLines; ++i) {
      v[i] = line_[i].Tap(length_[i]);
      mid[i] = line_[i].Tap(length_[i] / 2);
    }
  }
  float sum = 0;
  for (int i = 0; i < kLines; ++i) {
    const float c = damping_[i];
    lowpass_[i] = FlushTiny((1 - c) * decay_[i] * v[i] + c * lowpass_[i]);
    sum += lowpass_[i];
  }
  const float feed = kInputGain * in - kMix * sum;
  left = right = 0;
  for (int i = 0; i < kLines; i += 2) {
    const float wl = feed + lowpass_[i];
    const float wr = feed + lowpass_[i + 1];
    line_[i].Push(wl);
    line_[i + 1].Push(wr);
    left += wl + mid[i];
    right += wr + mid[i + 1];
  }
}

}  // namespace orve::dsp
