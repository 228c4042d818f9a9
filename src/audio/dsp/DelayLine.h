#pragma once
// A mono delay line on a power-of-two ring. Memory is sized by Allocate()
// (from Prepare, never on the audio thread); Push/Tap never allocate.
// Values are flushed to zero below 1e-20 as they are written, so a
// recirculating line never holds subnormals.

#include <algorithm>
#include <cstddef>
#include <vector>

#include "audio/dsp/DspMath.h"

namespace orve::dsp {

class DelayLine {
 public:
  // Room for delays up to `maxDelay` frames (Tap(maxDelay) stays valid).
  void Allocate(int maxDelay) {
    buffer_.assign(NextPowerOfTwo(static_cast<std::size_t>(maxDelay) + 2), 0.0f);
    mask_ = buffer_.size() - 1;
    pos_ = 0;
  }
  void Clear() { std::fill(buffer_.begin(), buffer_.end(), 0.0f); }
  int Capacity() const { return static_cast<int>(buffer_.size()) - 2; }

  void Push(float v) {
    buffer_[pos_] = FlushTiny(v);
    pos_ = (pos_ + 1) & mask_;
  }
  // The value pushed `delay` pushes ago: Tap(1) is the last one pushed.
  float Tap(int delay) const { return buffer_[(pos_ - static_cast<std::size_t>(delay)) & mask_]; }
  // Linear interpolation between Tap(floor(delay)) and the next older value.
  float TapLinear(float delay) const {
    const int i = static_cast<int>(delay);
    const float frac = delay - static_cast<float>(i);
    const float a = Tap(i);
    return a + frac * (Tap(i + 1) - a);
  }

 private:
  std::vector<float> buffer_;  // samples, ring of size 2^k
  std::size_t mask_ = 0;       // buffer_.size() - 1
  std::size_t pos_ = 0;        // index the next Push writes
};

}  // namespace orve::dsp
