#pragma once
// Varispeed: the stream's frames are taken as sampled at `inRate` (the
// frequency attribute) and converted to the device rate with libswresample,
// so speed and pitch change together. When both rates are equal the frames
// pass through untouched.
//
// Made and warmed up on the UI thread (libswresample sizes its buffers on
// first use; warming with the largest block keeps the audio thread from
// allocating), used on the audio thread only, freed on the UI thread.

#include <cstdint>
#include <memory>

struct SwrContext;

namespace orve::audio {

class Resampler {
 public:
  static constexpr int kMaxIn = 4096;   // frames per Convert call, at most
  static constexpr int kMaxOut = 4096;

  // Nullptr when libswresample refuses the rates.
  static std::unique_ptr<Resampler> Create(int inRate, int outRate);
  ~Resampler();
  Resampler(const Resampler&) = delete;
  Resampler& operator=(const Resampler&) = delete;

  int InRate() const { return inRate_; }
  int OutRate() const { return outRate_; }
  bool PassThrough() const { return swr_ == nullptr; }

  // Converts `inFrames` stereo frames (at most kMaxIn) into at most
  // `outCapacity` (at most kMaxOut) frames; returns the frames written.
  // Pass-through: inFrames must not exceed outCapacity.
  int Convert(const float* in, int inFrames, float* out, int outCapacity);
  // Input frames taken in but not yet given out.
  int64_t DelayFrames() const;

 private:
  Resampler(int inRate, int outRate) : inRate_(inRate), outRate_(outRate) {}
  bool Warm();

  const int inRate_;
  const int outRate_;
  SwrContext* swr_ = nullptr;
};

}  // namespace orve::audio
