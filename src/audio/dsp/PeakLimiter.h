#pragma once
// The safety limiter at the very end of the output path (after volume):
// ceiling -0.1 dBFS by default, bit-transparent below it, so stacked boosts
// never reach the converter as hard clipping.
//
// Look-ahead of 1.5 ms: the gain needed by each frame, min(1, ceiling/peak)
// over L and R, is held as a running minimum over the look-ahead window and
// then averaged over the same window, which gives a smooth ramp that is at
// or below the needed gain when the delayed frame comes out. Recovery then
// follows a one-pole release. Latency: LatencyFrames() frames.

#include <vector>

#include "audio/dsp/DelayLine.h"
#include "audio/dsp/DspBlock.h"

namespace orve::dsp {

class PeakLimiter : public ParamBlock<LimiterParams> {
 public:
  void Prepare(int sampleRate) override;
  void Reset() override;
  void Process(float* stereo, int frames) override;
  int LatencyFrames() const override { return window_ - 1; }

 private:
  void Apply(const LimiterParams& p);
  float HeldMinimum(float need);  // sliding minimum over the window
  bool PassThrough(float* stereo, int frames);

  int rate_ = 0;             // Hz; 0 until Prepare
  LimiterParams applied_;    // last record taken from the mailbox
  int window_ = 1;           // frames of look-ahead window
  float ceiling_ = 1;        // linear peak ceiling
  double releasePole_ = 0;   // one-pole factor per frame for recovery
  DelayLine audio_[2];       // the delayed music
  // Monotonic queue of (frame index, needed gain) for the sliding minimum.
  std::vector<float> queueGain_;
  std::vector<long long> queueAt_;
  int queueHead_ = 0, queueSize_ = 0;  // ring position and length of the queue
  long long frame_ = 0;      // frames seen since Reset
  DelayLine held_;           // held minimum of the last `window_` frames
  double heldSum_ = 0;       // their sum (box average numerator)
  int limited_ = 0;          // how many of them are below 1
  double gain_ = 1;          // gain applied now
};

}  // namespace orve::dsp
