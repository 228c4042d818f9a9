#include "audio/WavSink.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace orve::audio {
namespace {

constexpr int kRingSeconds = 4;
constexpr auto kWriterIdle = std::chrono::milliseconds(20);
constexpr int kChunk = 4096;

}  // namespace

WavSink::WavSink(std::string path) : path_(std::move(path)), ring_(kRingSeconds * kRate) {}

WavSink::~WavSink() { Stop(); }

bool WavSink::Open(std::string& error) { return writer_.Open(path_, Rate(), error); }

bool WavSink::Start(RenderSource* source, std::string& error) {
  if (!writing_.exchange(true)) writerThread_ = std::thread(&WavSink::WriteLoop, this);
  return NullSink::Start(source, error);
}

void WavSink::Stop() {
  NullSink::Stop();
  writing_.store(false, std::memory_order_release);
  if (!writerThread_.joinable()) return;
  writerThread_.join();
  if (!writer_.Close()) std::fprintf(stderr, "orve: the capture %s is incomplete (write failed)\n", path_.c_str());
}

// Clock thread. A full ring means the disk is behind: the clock waits for
// it rather than leaving holes in the capture.
void WavSink::Delivered(const float* stereo, int frames) {
  int done = 0;
  while (done < frames && writing_.load(std::memory_order_acquire)) {
    done += ring_.Write(stereo + 2 * done, frames - done);
    if (done < frames) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void WavSink::WriteLoop() {
  while (writing_.load(std::memory_order_acquire)) {
    Drain();
    std::this_thread::sleep_for(kWriterIdle);
  }
  Drain();  // the clock thread has stopped: the rest of the ring is final
}

void WavSink::Drain() {
  std::vector<float> chunk(2 * kChunk);
  int n = 0;
  while ((n = ring_.Read(chunk.data(), kChunk)) > 0) writer_.Write(chunk.data(), n);
}

}  // namespace orve::audio
