#include "audio/dsp/Compressor.h"

#include <algorithm>
#include <cmath>

namespace orve::dsp {
namespace {
constexpr double kMaxPredelayMs = 4;
constexpr double kGainRampMs = 10;
constexpr double kFadeMs = 20;
constexpr float kDbPerLog2 = 6.0205999f;  // 20*log10(2)
constexpr float kLog2PerDb = 1.0f / kDbPerLog2;
constexpr float kSettledDb = 1e-6f;       // reductions below this are zero

float PoleFor(double ms, int rate) { return static_cast<float>(std::pow(10.0, -1.0 / (ms * 1e-3 * rate))); }

}  // namespace

void Compressor::Prepare(int sampleRate) {
  rate_ = sampleRate;
  const int maxDelay = static_cast<int>(std::ceil(kMaxPredelayMs * 1e-3 * rate_)) + 2;
  for (DelayLine& l : line_) l.Allocate(maxDelay);
  TakeParameters(applied_);
  Reset();
}

void Compressor::Reset() {
  for (DelayLine& l : line_) l.Clear();
  peak_ = reduction_ = 0;
  Apply(applied_, true);
}

void Compressor::Apply(const CompressorParams& p, bool snap) {
  applied_ = p;
  thresholdDb_ = p.threshold;
  thresholdLinear_ = static_cast<float>(DbToGain(p.threshold));
  slope_ = 1.0f - 1.0f / p.ratio;
  attackPole_ = PoleFor(p.attack, rate_);
  releasePole_ = PoleFor(p.release, rate_);
  gainDb_.SetTarget(p.gain, snap ? 0 : MsToFrames(kGainRampMs, rate_));
  const int predelay = static_cast<int>(std::lround(p.predelay * 1e-3 * rate_));
  pendingPredelay_ = predelay;
  if (snap) {
    predelay_ = oldPredelay_ = predelay;
    fade_.Stop();
  } else if (!fade_.Active()) {
    StartPendingFade();
  }
}

void Compressor::StartPendingFade() {
  if (pendingPredelay_ == predelay_) return;
  oldPredelay_ = predelay_;
  predelay_ = pendingPredelay_;
  fade_.Start(MsToFrames(kFadeMs, rate_));
}

float Compressor::Reduction(float left, float right) {
  const float level = 0.5f * (std::fabs(left) + std::fabs(right));
  float wanted = 0;
  if (level > thresholdLinear_) wanted = (kDbPerLog2 * std::log2(level) - thresholdDb_) * slope_;
  peak_ = std::max(wanted, releasePole_ * peak_ + (1 - releasePole_) * wanted);
  reduction_ = attackPole_ * reduction_ + (1 - attackPole_) * peak_;
  return reduction_;
}

void Compressor::Process(float* s, int frames) {
  if (rate_ == 0) return;
  CompressorParams p;
  if (bool first = false; TakeParameters(p, first)) Apply(p, first);
  for (int i = 0; i < frames; ++i, s += 2) {
    const float gr = Reduction(s[0], s[1]);
    const float db = gainDb_.Next() - gr;
    const float gain = db == 0.0f ? 1.0f : std::exp2(db * kLog2PerDb);
    line_[0].Push(s[0]);
    line_[1].Push(s[1]);
    float l = line_[0].Tap(predelay_ + 1);
    float r = line_[1].Tap(predelay_ + 1);
    if (fade_.Active()) {
      const float w = fade_.Next();
      l = line_[0].Tap(oldPredelay_ + 1) * (1 - w) + w * l;
      r = line_[1].Tap(oldPredelay_ + 1) * (1 - w) + w * r;
      if (!fade_.Active()) StartPendingFade();
    }
    s[0] = l * gain;
    s[1] = r * gain;
  }
  if (peak_ < kSettledDb) peak_ = 0;
  if (reduction_ < kSettledDb) reduction_ = 0;
}

}  // namespace orve::dsp
