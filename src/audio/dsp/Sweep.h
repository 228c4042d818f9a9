#pragma once
// The modulated delay shared by chorus and flanger: an LFO (sine or
// triangle, phase accumulator) sweeping a delay around its centre, with L
// and R phase-shifted, plus the ramps that make every change click-free.
//
// Per frame it gives the mix, feedback, centre delay and the two swept
// delays, in frames. Mix, feedback, centre and excursion ramp over 20 ms;
// the L/R phase offset over 50 ms; a waveform switch crossfades the two
// shapes over 50 ms; a rate change only changes the phase increment.

#include "audio/dsp/DspMath.h"
#include "audio/dsp/Ramp.h"

namespace orve::dsp {

// The fields chorus and flanger share, in their record units.
struct SweepSettings {
  float wetDryMix;  // % wet
  float depth;      // % of the delay swept
  float feedback;   // %
  float frequency;  // Hz
  int waveform;     // 0 triangle, 1 sine
  float delay;      // ms
  int phase;        // 0..4 = -180..+180 degrees in 90 degree steps
};

struct SweepFrame {
  float mix;       // wet fraction
  float feedback;  // fraction, negative inverts
  float centre;    // frames, unmodulated tap (feedback)
  float tau[2];    // frames, swept taps for L and R
};

class Sweep {
 public:
  void Prepare(int sampleRate) { rate_ = sampleRate; }
  void Set(const SweepSettings& s, bool snap);
  void ResetPhase() {
    phase_ = 0;
    segmentLeft_ = 0;
  }
  SweepFrame Next() {
    if (!steady_) return NextMoving();
    if (segmentLeft_ == 0) StartSegment();
    SweepFrame f{mix_.Value(), feedback_.Value(), centre_.Value(), {0, 0}};
    const float e = excursion_.Value();
    for (int c = 0; c < 2; ++c) {
      f.tau[c] = f.centre + e * lfo_[c];
      lfo_[c] += lfoStep_[c];
    }
    --segmentLeft_;
    Advance();
    return f;
  }
  // Longest tap any setting up to `maxDelayMs` can ask for, in frames.
  static int MaxTap(double maxDelayMs, int rate);

 private:
  SweepFrame NextMoving();  // while any ramp moves
  void Advance() {
    phase_ += increment_;
    if (phase_ >= 1.0) phase_ -= 1.0;
  }
  static float Shape(double cycles, float sineWeight);
  // Steady settings: the LFO is evaluated every kSegment frames and joined
  // by straight lines (at 10 Hz and full depth the error stays below 0.05
  // frames of delay).
  void StartSegment();
  static constexpr int kSegment = 16;

  int rate_ = 0;             // Hz
  double phase_ = 0;         // cycles of the L LFO, [0, 1)
  double increment_ = 0;     // cycles per frame
  LinearRamp mix_;           // wet fraction
  LinearRamp feedback_;      // fraction
  LinearRamp centre_;        // frames: delay + 2
  LinearRamp excursion_;     // frames: depth * delay / 2
  LinearRamp phaseOffset_;   // cycles, R LFO minus L LFO
  LinearRamp sineWeight_;    // 1 sine, 0 triangle, between during a switch
  bool steady_ = false;      // no ramp moves: Next takes the short path
  int segmentLeft_ = 0;      // frames left on the current straight LFO segment
  float lfo_[2] = {0, 0};    // LFO value now, L and R (short path)
  float lfoStep_[2] = {0, 0};// change per frame along the segment
};

}  // namespace orve::dsp
