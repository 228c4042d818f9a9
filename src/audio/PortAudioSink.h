#pragma once
// The default output device through PortAudio: float32 stereo at 44100 Hz,
// or at the device's own rate when it refuses 44100.

#include "audio/Output.h"

typedef void PaStream;

namespace orve::audio {

class PortAudioSink : public Sink {
 public:
  ~PortAudioSink() override;
  bool Open(std::string& error) override;
  bool Start(RenderSource* source, std::string& error) override;
  void Stop() override;
  int Rate() const override { return rate_; }
  double LatencySeconds() const override { return latency_; }
  const char* Name() const override { return "portaudio"; }

 private:
  bool OpenAt(int device, double rate, std::string& error);

  bool initialized_ = false;  // Pa_Initialize succeeded
  PaStream* stream_ = nullptr;
  RenderSource* source_ = nullptr;  // read by the device callback
  int rate_ = 44100;
  double latency_ = 0.0;
};

}  // namespace orve::audio
