#pragma once
// The late reverb: an 8-line feedback delay network (Jot) with the
// Householder matrix A = I - (2/8) 1 1^T, a decay gain and a one-pole
// damping filter per line. L sums the even lines, R the odd ones, each read
// twice: where it is written (the diffused input is heard at once) and at
// half its length (which fills the gap until the first recirculation).
//
// Line lengths are base lengths of 30..75 ms times a density scale, made
// distinct primes. A new scale moves every read tap with a 50 ms crossfade
// (the contents stay, so the tail continues); one arriving during a fade
// waits for it.

#include "audio/dsp/DelayLine.h"
#include "audio/dsp/Ramp.h"

namespace orve::dsp {

class FeedbackNetwork {
 public:
  static constexpr int kLines = 8;
  static constexpr int kMaxPiece = 32;  // frames handled together

  void Allocate(int sampleRate);  // sizes the lines for scale 1 and clears them
  void Clear();
  // scale: 0.1..1 of the base lengths. snap: no crossfade.
  void SetScale(double scale, bool snap);
  int Length(int line) const { return length_[line]; }
  // Per sub-block: decay gain and damping coefficient of each line.
  void SetLoop(const float* decay, const float* damping);
  // n frames of diffused input in, the two outputs out (any n).
  void Process(const float* in, float* left, float* right, int n);

 private:
  void Lengths(double scale, int* out) const;
  void StartPendingFade();
  void Piece(const float* in, float* left, float* right, int m);
  void ReadPiece(const int* lengths, int m, float (*v)[kMaxPiece], float (*mid)[kMaxPiece]) const;

  int rate_ = 0;                  // Hz
  DelayLine line_[kLines];        // what was written into each line
  int length_[kLines] = {};       // frames, read taps now (new side of a fade)
  int oldLength_[kLines] = {};    // frames, taps faded out
  double scale_ = 1;              // scale of length_
  double pendingScale_ = 1;       // scale wanted once the fade ends
  Crossfade fade_;                // weight of length_ against oldLength_
  float decay_[kLines] = {};      // gain per pass
  float damping_[kLines] = {};    // one-pole coefficient c
  float lowpass_[kLines] = {};    // damping filter state
};

}  // namespace orve::dsp
