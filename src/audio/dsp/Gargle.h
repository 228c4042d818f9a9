#pragma once
// Gargle: amplitude modulation by a unipolar modulator at full depth, the
// same on L and R. Triangle: 0 -> 1 over the first half-period, 1 -> 0 over
// the second. Square: passes for the first half-period, mutes the second,
// with hard edges (they click by design).
//
// A fractional phase accumulator keeps the rate exact; a rate change keeps
// the phase. A shape switch crossfades the two modulators over 10 ms.

#include "audio/dsp/DspBlock.h"
#include "audio/dsp/Ramp.h"

namespace orve::dsp {

class Gargle : public ParamBlock<GargleParams> {
 public:
  void Prepare(int sampleRate) override;
  void Reset() override;
  void Process(float* stereo, int frames) override;

 private:
  void Apply(const GargleParams& p, bool snap);

  int rate_ = 0;            // Hz; 0 until Prepare
  GargleParams applied_;    // last record taken from the mailbox
  double phase_ = 0;        // cycles, [0, 1)
  double increment_ = 0;    // cycles per frame: rate / fs
  LinearRamp squareWeight_; // 0 triangle, 1 square, between during a switch
};

}  // namespace orve::dsp
