#pragma once
// Chorus: the sound plus a copy whose delay the LFO sweeps gently. One mono
// line fed with (L+R)/2 and feedback from the unmodulated centre tap; L and
// R read it at their own swept delays, so the wet signal is mono-sourced.

#include "audio/dsp/DelayLine.h"
#include "audio/dsp/DspBlock.h"
#include "audio/dsp/Sweep.h"

namespace orve::dsp {

class Chorus : public ParamBlock<ChorusParams> {
 public:
  void Prepare(int sampleRate) override;
  void Reset() override;
  void Process(float* stereo, int frames) override;

 private:
  void Apply(const ChorusParams& p, bool snap);

  int rate_ = 0;          // Hz; 0 until Prepare
  ChorusParams applied_;  // last record taken from the mailbox
  Sweep sweep_;           // LFO and ramps
  DelayLine line_;        // s[n] = (L+R)/2 + f * s[n - centre]
};

}  // namespace orve::dsp
