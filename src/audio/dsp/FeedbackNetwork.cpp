#include "audio/dsp/FeedbackNetwork.h"

#include <algorithm>
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

void FeedbackNetwork::Process(const float* in, float* left, float* right, int n) {
  while (n > 0) {
    // A piece never reads what it writes: every tap (half lengths included)
    // reaches back at least as far as the piece is long.
    int limit = kMaxPiece;
    for (int i = 0; i < kLines; ++i) limit = std::min({limit, length_[i] / 2, oldLength_[i] / 2});
    const int m = std::max(1, std::min(n, limit));
    Piece(in, left, right, m);
    in += m, left += m, right += m, n -= m;
  }
}

// Taps read before any of the piece is written: frame j of the piece sees
// Tap(d) of the per-frame form as Tap(d - j) from the piece's start.
void FeedbackNetwork::ReadPiece(const int* lengths, int m, float (*v)[kMaxPiece], float (*mid)[kMaxPiece]) const {
  for (int i = 0; i < kLines; ++i) {
    for (int j = 0; j < m; ++j) v[i][j] = line_[i].Tap(lengths[i] - j);
    for (int j = 0; j < m; ++j) mid[i][j] = line_[i].Tap(lengths[i] / 2 - j);
  }
}

void FeedbackNetwork::Piece(const float* in, float* left, float* right, int m) {
  float v[kLines][kMaxPiece], mid[kLines][kMaxPiece];
  ReadPiece(length_, m, v, mid);
  if (fade_.Active()) {
    float ov[kLines][kMaxPiece], omid[kLines][kMaxPiece], w[kMaxPiece];
    ReadPiece(oldLength_, m, ov, omid);
    for (int j = 0; j < m; ++j) w[j] = fade_.Next();
    for (int i = 0; i < kLines; ++i)
      for (int j = 0; j < m; ++j) {
        v[i][j] = ov[i][j] + w[j] * (v[i][j] - ov[i][j]);
        mid[i][j] = omid[i][j] + w[j] * (mid[i][j] - omid[i][j]);
      }
  }
  float feed[kMaxPiece];
  for (int j = 0; j < m; ++j) feed[j] = kInputGain * in[j];
  for (int i = 0; i < kLines; ++i) {  // decay and damping: v becomes the line's return
    const float c = damping_[i], g = (1 - c) * decay_[i];
    float lp = lowpass_[i];
    for (int j = 0; j < m; ++j) v[i][j] = lp = FlushTiny(g * v[i][j] + c * lp);
    lowpass_[i] = lp;
    for (int j = 0; j < m; ++j) feed[j] -= kMix * v[i][j];
  }
  for (int j = 0; j < m; ++j) left[j] = right[j] = 0;
  for (int i = 0; i < kLines; ++i) {
    float* out = i % 2 == 0 ? left : right;
    for (int j = 0; j < m; ++j) {
      const float written = feed[j] + v[i][j];
      line_[i].Push(written);
      out[j] += written + mid[i][j];
    }
  }
  if (!fade_.Active()) StartPendingFade();
}

}  // namespace orve::dsp
