#pragma once
// Music reverb (Waves-like): four recirculating loops A, B, C, D of total
// lengths 45 ms * 2^(k/4) (A 45.0, C 53.5, B 63.6, D 75.7 ms). Two 2x2
// lattice all-passes (g = 0.618) sit inside the loops, one coupling A with
// B, one C with D, each with a delay of 11.5 % of its pair's summed length.
// Each loop ends in the damping FIR (1-d) + d z^-1.
//
// Inputs: L -> A and D, R -> B, -R -> C. Outputs: L = A + C, R = B + D.
// Decay: every delay of m frames carries 10^(-3 m / (fs * RT)), so every
// path through the network decays at 60 dB per RT; a whole loop's gain is
// 10^(-3 L_k / (fs * RT)). d_k = (1 - g_k^(1/ratio - 1)) / 2 meets the HF
// time at Nyquist.
// Gains: dry = sqrt(1 - 10^(Mix/10)), wet = sqrt(10^(Mix/10)) * norm, both
// times 10^(InGain/20); norm (per output) makes the tail energy of a unit
// impulse on both inputs about 1 on each output.
// Dry and wet ramp over 10 ms; loop coefficients and norm are smoothed
// every 32 frames (loop lengths never change).

#include "audio/dsp/DelayLine.h"
#include "audio/dsp/DspBlock.h"
#include "audio/dsp/Ramp.h"

namespace orve::dsp {

class MusicReverb : public ParamBlock<MusicReverbParams> {
 public:
  static constexpr int kLoops = 4;  // A, B, C, D

  void Prepare(int sampleRate) override;
  void Reset() override;
  void Process(float* stereo, int frames) override;

 private:
  struct Coefs {
    float lineGain[kLoops] = {};  // gain of each loop's own delay line
    float stateGain[2] = {};      // gain of each all-pass pair's delay
    float damping[kLoops] = {};   // d_k
    float norm[2] = {};           // output normalisation, L and R
  };
  void Apply(const MusicReverbParams& p, bool snap);
  Coefs CoefsFor(const MusicReverbParams& p) const;
  void StepCoefs();
  void Run(float* stereo, int frames);
  void Loops(const float* in, float* out);  // one frame through the network

  int rate_ = 0;                 // Hz; 0 until Prepare
  MusicReverbParams applied_;    // last record taken from the mailbox
  int loopFrames_[kLoops] = {};  // frames of each loop's total length L_k
  int lineFrames_[kLoops] = {};  // frames of each loop's own delay line
  int pairFrames_[2] = {};       // frames of each all-pass pair's delay
  DelayLine line_[kLoops];       // loop delay lines
  DelayLine pair_[kLoops];       // all-pass state, pair 0 = A,B, pair 1 = C,D
  float previous_[kLoops] = {};  // damping FIR state: last all-pass output
  LinearRamp dry_;               // linear gain
  LinearRamp wet_;               // linear gain into the loops
  Coefs target_;                 // from the applied record
  Coefs coefs_;                  // smoothed, used now
  int untilUpdate_ = 0;          // frames until StepCoefs
};

}  // namespace orve::dsp
