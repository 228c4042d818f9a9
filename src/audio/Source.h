#pragma once
// What a channel plays: a file decoder or a network stream. The channel's
// decoder thread pulls float frames from it.
//
// Threads: Read and Seek run on the channel's decoder thread (or on the UI
// thread before the channel's first Play). SetPlaying and Interrupt may be
// called from the UI thread at any time and must return at once.

#include <cstdint>

namespace orve::audio {

class Source {
 public:
  // Read's answer when a live source has nothing yet but has not ended.
  static constexpr int kNoData = -1;

  virtual ~Source() = default;

  virtual int Rate() const = 0;
  virtual int Channels() const = 0;
  // Frames in all; -1 when unknown.
  virtual int64_t LengthFrames() const = 0;
  virtual int64_t Position() const = 0;
  // Up to `frames` frames; 0 at the end, kNoData while a live source waits.
  virtual int Read(void* out, int frames) = 0;
  virtual bool Seek(int64_t frame) = 0;

  // A live source (a network stream) has no length and may stall.
  virtual bool Live() const { return false; }
  virtual void SetPlaying(bool /*playing*/) {}
  // Makes a blocking Read return soon; the source is not read again.
  virtual void Interrupt() {}
};

}  // namespace orve::audio
