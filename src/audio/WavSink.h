#pragma once
// Like the null sink, and everything played also goes to a WAV file (32-bit
// float stereo at the sink's rate). The clock thread hands the blocks to a
// writer thread through a ring; the file is written there, never on the
// clock thread. The header is complete after Stop.

#include <atomic>
#include <string>
#include <thread>

#include "audio/NullSink.h"
#include "audio/Ring.h"
#include "audio/WavWriter.h"

namespace orve::audio {

class WavSink : public NullSink {
 public:
  explicit WavSink(std::string path);
  ~WavSink() override;
  bool Open(std::string& error) override;
  bool Start(RenderSource* source, std::string& error) override;
  void Stop() override;
  const char* Name() const override { return "wav"; }

 private:
  void Delivered(const float* stereo, int frames) override;
  void WriteLoop();
  void Drain();

  const std::string path_;
  WavWriter writer_;                  // writer thread while it runs
  StereoRing ring_;                   // clock thread writes, writer thread reads
  std::thread writerThread_;          // owner's thread
  std::atomic<bool> writing_{false};  // owner's thread writes
};

}  // namespace orve::audio
