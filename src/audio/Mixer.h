#pragma once
// The playback engine: mixes the playing channels into the sink's buffer.
//
// Thread model:
// - audio thread (the sink's device callback or clock thread): Render only.
//   It walks a fixed table of channel slots, asks each channel to add its
//   block (Channel::Render), counts device frames and its own busy time. It
//   never waits, locks, allocates, does I/O or logs.
// - UI thread: everything else. It puts channels into free slots and takes
//   them out (atomic pointer stores). A channel taken out may still be in
//   use by the Render that is running, so it is freed only once the render
//   count (renders_) has moved on by two: see Retire/CollectRetired in
//   Library. Every channel's decoder thread is its own (see Channel.h).

#include <array>
#include <atomic>
#include <cstdint>

#include "audio/Output.h"
#include "audio/dsp/PeakLimiter.h"

namespace orve::audio {

class Channel;

class Mixer : public RenderSource {
 public:
  static constexpr int kMaxChannels = 64;

  Mixer(int rate, double latencySeconds);

  // --- audio thread ---
  void Render(float* stereo, int frames) override;

  // --- UI thread ---
  int Rate() const { return rate_; }
  bool Add(Channel* channel);
  void Remove(Channel* channel);
  // Renders completed so far; a channel removed when this read N is no
  // longer touched once it reads N + 2.
  uint64_t Renders() const { return renders_.load(std::memory_order_acquire); }
  // The device frame being heard now (rendered frames less the latency,
  // moving on smoothly between renders).
  uint64_t HeardFrame() const;
  double CpuLoadPercent() const { return cpuLoad_.load(std::memory_order_relaxed); }

 private:
  void RenderBlock(float* stereo, int frames);
  void AccountTime(int64_t busyNs, int64_t nowNs);

  const int rate_;
  int64_t latencyFrames_;  // the sink's latency and the limiter's look-ahead; set at construction
  std::array<std::atomic<Channel*>, kMaxChannels> slots_{};  // UI thread writes
  std::atomic<uint64_t> renders_{0};          // audio thread writes
  std::atomic<uint64_t> lastStart_{0};        // audio thread: device frame of the last block
  std::atomic<int> lastFrames_{0};            // audio thread: its length
  std::atomic<int64_t> lastRenderNs_{0};      // audio thread: when it was rendered
  std::atomic<double> cpuLoad_{0.0};          // audio thread writes
  // audio thread only
  dsp::PeakLimiter limiter_;  // last in the output path: stacked boosts never hard-clip
  uint64_t deviceFrames_ = 0;
  int64_t windowStartNs_ = -1;
  int64_t windowBusyNs_ = 0;
};

}  // namespace orve::audio
