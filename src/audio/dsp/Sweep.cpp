#include "audio/dsp/Sweep.h"

#include <cmath>


namespace orve::dsp {
namespace {
constexpr double kRampMs = 20;
constexpr double kPhaseRampMs = 50;
constexpr float kExtraFrames = 2;  // the centre tap sits 2 frames past the delay
}  // namespace

int Sweep::MaxTap(double maxDelayMs, int rate) {
  return static_cast<int>(std::ceil(1.5 * maxDelayMs * 1e-3 * rate)) + 4;
}

void Sweep::Set(const SweepSettings& s, bool snap) {
  const int ramp = snap ? 0 : MsToFrames(kRampMs, rate_);
  const int slow = snap ? 0 : MsToFrames(kPhaseRampMs, rate_);
  const float delayFrames = s.delay * 1e-3f * static_cast<float>(rate_);
  mix_.SetTarget(s.wetDryMix / 100.0f, ramp);
  feedback_.SetTarget(s.feedback / 100.0f, ramp);
  centre_.SetTarget(delayFrames + kExtraFrames, ramp);
  excursion_.SetTarget(s.depth / 100.0f * delayFrames / 2, ramp);
  phaseOffset_.SetTarget(static_cast<float>(s.phase - 2) * 0.25f, slow);
  sineWeight_.SetTarget(s.waveform == 1 ? 1.0f : 0.0f, slow);
  increment_ = static_cast<double>(s.frequency) / rate_;
  steady_ = false;
  segmentLeft_ = 0;
}

void Sweep::StartSegment() {
  const double offset[2] = {0.0, phaseOffset_.Value()};
  const float w = sineWeight_.Value();
  for (int c = 0; c < 2; ++c) {
    lfo_[c] = Shape(phase_ + offset[c], w);
    lfoStep_[c] = (Shape(phase_ + offset[c] + kSegment * increment_, w) - lfo_[c]) / kSegment;
  }
  segmentLeft_ = kSegment;
}

float Sweep::Shape(double cycles, float sineWeight) {
  if (sineWeight == 1.0f) return SinCycles(cycles);
  if (sineWeight == 0.0f) return TriangleCycles(cycles);
  return TriangleCycles(cycles) + sineWeight * (SinCycles(cycles) - TriangleCycles(cycles));
}

SweepFrame Sweep::NextMoving() {
  SweepFrame f;
  f.mix = mix_.Next();
  f.feedback = feedback_.Next();
  f.centre = centre_.Next();
  const float e = excursion_.Next();
  const float offset = phaseOffset_.Next();
  const float w = sineWeight_.Next();
  f.tau[0] = f.centre + e * Shape(phase_, w);
  f.tau[1] = f.centre + e * Shape(phase_ + offset, w);
  Advance();
  steady_ = !(mix_.Moving() || feedback_.Moving() || centre_.Moving() || excursion_.Moving() ||
              phaseOffset_.Moving() || sineWeight_.Moving());
  return f;
}

}  // namespace orve::dsp
