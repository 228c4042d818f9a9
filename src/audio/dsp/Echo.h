#pragma once
// Echo: one delay line per channel (2 s), feedback from the delayed output,
// input scaled by sqrt(1 - f^2) so the echo train keeps the input's energy,
// and a linear wet/dry crossfade. With pan on, each echo crosses to the
// other channel (ping-pong).
//
// Mix and feedback ramp over 10 ms. A new delay or pan setting crossfades
// the old and the new read taps over 20 ms (the delay never glides, which
// would bend the pitch). A change that arrives during a crossfade waits for it.

#include "audio/dsp/DelayLine.h"
#include "audio/dsp/DspBlock.h"
#include "audio/dsp/Ramp.h"

namespace orve::dsp {

class Echo : public ParamBlock<EchoParams> {
 public:
  void Prepare(int sampleRate) override;
  void Reset() override;
  void Process(float* stereo, int frames) override;

 private:
  struct Route {
    int delay[2] = {1, 1};  // frames, left and right line
    bool swap = false;      // left echo read from the right line and back
    bool operator==(const Route&) const = default;
  };
  Route RouteFor(const EchoParams& p) const;
  void Apply(const EchoParams& p, bool snap);
  void Read(const Route& r, float& left, float& right) const;
  void StartPendingFade();

  int rate_ = 0;             // Hz; 0 until Prepare
  EchoParams applied_;       // last record taken from the mailbox
  DelayLine line_[2];        // d_L, d_R: what was fed into each line
  LinearRamp mix_;           // wet fraction 0..1
  LinearRamp feedback_;      // fraction 0..1
  float inputGain_ = 1;      // sqrt(1 - f^2) of the settled feedback
  Route route_;              // taps read now (the new side during a fade)
  Route oldRoute_;           // taps faded out
  Route pending_;            // taps wanted once the current fade ends
  Crossfade fade_;           // weight of route_ against oldRoute_
};

}  // namespace orve::dsp
