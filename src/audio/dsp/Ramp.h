#pragma once
// Per-sample parameter movement without clicks: a linear ramp that reaches
// its target in a fixed number of frames, and a raised-cosine crossfade
// between an old and a new read position.

#include <cmath>

#include "audio/dsp/DspMath.h"

namespace orve::dsp {

class LinearRamp {
 public:
  void Snap(float v) {
    value_ = target_ = v;
    left_ = 0;
  }
  // Moves to `target` over `frames` frames (at once when frames <= 0).
  void SetTarget(float target, int frames) {
    if (target == target_) return;
    if (frames <= 0) return Snap(target);
    target_ = target;
    step_ = (target_ - value_) / static_cast<float>(frames);
    left_ = frames;
  }
  float Next() {
    if (left_ > 0) {
      if (--left_ == 0) value_ = target_;
      else value_ += step_;
    }
    return value_;
  }
  float Value() const { return value_; }
  float Target() const { return target_; }
  bool Moving() const { return left_ > 0; }

 private:
  float value_ = 0;   // current value, in the unit of the parameter
  float target_ = 0;  // value reached when left_ becomes 0
  float step_ = 0;    // change per frame
  int left_ = 0;      // frames until target_
};

// Weight of the new side of a crossfade, 0 -> 1 along half a cosine.
class Crossfade {
 public:
  void Start(int frames) {
    length_ = frames < 1 ? 1 : frames;
    pos_ = 0;
  }
  void Stop() { pos_ = length_ = 0; }
  bool Active() const { return pos_ < length_; }
  float Next() {
    if (pos_ >= length_) return 1.0f;
    ++pos_;
    return static_cast<float>(0.5 - 0.5 * std::cos(kPi * pos_ / length_));
  }

 private:
  int length_ = 0;  // frames of the whole fade
  int pos_ = 0;     // frames done; the fade is over when pos_ == length_
};

}  // namespace orve::dsp
