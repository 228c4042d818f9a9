#pragma once
// One parametric equalizer band: an RBJ peaking biquad in double (low bands
// at high rates put poles next to z = 1, where float state is too noisy).
// Direct form I: in double it is as quiet as the transposed form II, and its
// loop-carried dependency is one multiply-add instead of two, which halves
// the cost. The 16-band equalizer is sixteen of these.
//
// Gain moves through a one-pole smoother (10 ms), centre and width through
// one of 20 ms; the coefficients follow every 32 frames. A band settled at
// 0 dB, or with its centre at or above 0.45 fs, is skipped: exact bypass.

#include "audio/dsp/DspBlock.h"

namespace orve::dsp {

class ParamEq : public ParamBlock<ParamEqParams> {
 public:
  void Prepare(int sampleRate) override;
  void Reset() override;
  void Process(float* stereo, int frames) override;

 private:
  struct Smoothed {
    double value = 0;   // current
    double target = 0;  // where it goes
  };
  void Apply(const ParamEqParams& p, bool snap);
  void Step();                 // advances the smoothers by one update period
  void UpdateCoefficients();
  void Run(float* stereo, int frames);
  void ClearState();

  int rate_ = 0;              // Hz; 0 until Prepare
  ParamEqParams applied_;     // last record taken from the mailbox
  Smoothed gainDb_;           // band gain, dB
  Smoothed logCenter_;        // log2 of the centre frequency in Hz
  Smoothed bandwidth_;        // semitones between the half-gain points
  double gainPole_ = 0;       // smoother factor per update period, gain
  double shapePole_ = 0;      // smoother factor per update period, centre/width
  bool moving_ = false;       // a smoother has not reached its target
  bool active_ = false;       // false: the band passes the audio untouched
  int untilUpdate_ = 0;       // frames until the next Step
  double cosW0_ = 0, alpha_ = 0;  // shape terms of the current centre/width
  double shapeFor_[2] = {-1, -1}; // (logCenter, bandwidth) cosW0_/alpha_ belong to
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;  // normalised coefficients
  struct History {
    double x1 = 0, x2 = 0;  // last two inputs
    double y1 = 0, y2 = 0;  // last two outputs
  };
  History history_[2];    // per channel
};

}  // namespace orve::dsp
