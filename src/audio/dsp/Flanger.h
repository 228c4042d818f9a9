#pragma once
// Flanger: a short swept delay per channel with feedback from the
// unmodulated centre tap. The dry path is delayed 2 frames so that a zero
// delay setting lines up with it (the block's latency is 2 frames).

#include "audio/dsp/DelayLine.h"
#include "audio/dsp/DspBlock.h"
#include "audio/dsp/Sweep.h"

namespace orve::dsp {

class Flanger : public ParamBlock<FlangerParams> {
 public:
  static constexpr int kDryDelay = 2;  // frames

  void Prepare(int sampleRate) override;
  void Reset() override;
  void Process(float* stereo, int frames) override;
  int LatencyFrames() const override { return kDryDelay; }

 private:
  void Apply(const FlangerParams& p, bool snap);

  int rate_ = 0;           // Hz; 0 until Prepare
  FlangerParams applied_;  // last record taken from the mailbox
  Sweep sweep_;            // LFO and ramps
  DelayLine line_[2];      // s_c[n] = x_c[n] + f * s_c[n - centre]
  float dry_[2][kDryDelay] = {};  // last two input frames per channel, newest first
};

}  // namespace orve::dsp
