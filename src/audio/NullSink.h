#pragma once
// No device: a clock thread pulls the audio at real-time pace, so positions,
// timers and the end of a stream come exactly as they would with sound.

#include <atomic>
#include <thread>

#include "audio/Output.h"

namespace orve::audio {

class NullSink : public Sink {
 public:
  static constexpr int kRate = 44100;
  static constexpr int kBlock = 1024;  // frames per pull, about 23 ms, as many devices

  ~NullSink() override;
  bool Open(std::string& error) override;
  bool Start(RenderSource* source, std::string& error) override;
  void Stop() override;
  int Rate() const override { return kRate; }
  double LatencySeconds() const override { return 0.0; }
  const char* Name() const override { return "null"; }

 protected:
  // Clock thread: each block right after it was rendered.
  virtual void Delivered(const float* stereo, int frames);

 private:
  void Run(RenderSource* source);

  std::thread clock_;                 // started and joined by the owner's thread
  std::atomic<bool> running_{false};  // owner's thread writes
};

}  // namespace orve::audio
