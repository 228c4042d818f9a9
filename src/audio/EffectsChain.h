#pragma once
// The effects of one channel. The output callback runs the chain over the
// channel's frames at the stream's own rate, interleaved stereo float,
// before resampling, so a parameter change is heard within one device period.
//
// Effect types (the equalizer bands and the seven effects) are not built
// yet; a chain without effects leaves the frames as they are.

#include <array>

namespace orve::audio {

class Effect {
 public:
  virtual ~Effect() = default;
  // Audio thread: processes `frames` stereo frames in place.
  virtual void Process(float* stereo, int frames) = 0;
};

class EffectsChain {
 public:
  static constexpr int kMaxEffects = 32;

  // Audio thread.
  void Process(float* stereo, int frames) {
    for (int i = 0; i < count_; ++i) effects_[static_cast<size_t>(i)]->Process(stereo, frames);
  }
  bool Empty() const { return count_ == 0; }

 private:
  std::array<Effect*, kMaxEffects> effects_{};  // in order of priority, then creation
  int count_ = 0;
};

}  // namespace orve::audio
