#pragma once
// Four Schroeder all-passes in series that smear the late reverb's input
// into a dense onset before it enters the feedback network. Lossless: the
// energy of what goes in is the energy of what comes out.

#include "audio/dsp/DelayLine.h"

namespace orve::dsp {

class Diffuser {
 public:
  static constexpr int kStages = 4;

  void Allocate(int sampleRate);  // sizes and clears the stages
  void Clear();
  // coefficient: 0 (pure delays) .. 0.618; set once per sub-block.
  void SetCoefficient(float g) { g_ = g; }
  float Process(float x) {
    for (int i = 0; i < kStages; ++i) {
      const float d = line_[i].Tap(delay_[i]);
      const float w = x + g_ * d;
      line_[i].Push(w);
      x = d - g_ * w;
    }
    return x;
  }

 private:
  DelayLine line_[kStages];  // all-pass state w per stage
  int delay_[kStages] = {};  // frames per stage
  float g_ = 0;              // all-pass coefficient
};

}  // namespace orve::dsp
