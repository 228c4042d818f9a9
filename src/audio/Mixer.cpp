#include "audio/Mixer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include "audio/Channel.h"
#include "audio/dsp/Denormals.h"

namespace orve::audio {
namespace {

constexpr int64_t kCpuWindowNs = 500'000'000;

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

Mixer::Mixer(int rate, double latencySeconds)
    : rate_(rate), latencyFrames_(std::llround(latencySeconds * rate)) {
  limiter_.Prepare(rate);
  latencyFrames_ += limiter_.LatencyFrames();  // what is heard lags by the look-ahead too
}

void Mixer::Render(float* stereo, int frames) {
  const dsp::ScopedFlushDenormals noDenormals;
  const int64_t start = NowNs();
  const uint64_t first = deviceFrames_;
  for (int done = 0; done < frames;) {
    const int n = std::min(frames - done, Channel::kMaxBlock);
    RenderBlock(stereo + 2 * done, n);
    done += n;
  }
  lastStart_.store(first, std::memory_order_relaxed);
  lastFrames_.store(frames, std::memory_order_relaxed);
  const int64_t end = NowNs();
  lastRenderNs_.store(end, std::memory_order_relaxed);
  renders_.fetch_add(1, std::memory_order_acq_rel);
  AccountTime(end - start, end);
}

void Mixer::RenderBlock(float* stereo, int frames) {
  std::memset(stereo, 0, sizeof(float) * 2 * static_cast<size_t>(frames));
  for (auto& slot : slots_) {
    Channel* ch = slot.load(std::memory_order_acquire);
    if (ch != nullptr) ch->Render(stereo, frames, deviceFrames_);
  }
  limiter_.Process(stereo, frames);
  deviceFrames_ += static_cast<uint64_t>(frames);
}

void Mixer::AccountTime(int64_t busyNs, int64_t nowNs) {
  if (windowStartNs_ < 0) windowStartNs_ = nowNs - busyNs;
  windowBusyNs_ += busyNs;
  const int64_t wall = nowNs - windowStartNs_;
  if (wall < kCpuWindowNs) return;
  cpuLoad_.store(100.0 * static_cast<double>(windowBusyNs_) / static_cast<double>(wall),
                 std::memory_order_relaxed);
  windowStartNs_ = nowNs;
  windowBusyNs_ = 0;
}

bool Mixer::Add(Channel* channel) {
  for (auto& slot : slots_) {
    if (slot.load(std::memory_order_relaxed) == channel) return true;
  }
  for (auto& slot : slots_) {
    if (slot.load(std::memory_order_relaxed) == nullptr) {
      slot.store(channel, std::memory_order_release);
      return true;
    }
  }
  return false;
}

void Mixer::Remove(Channel* channel) {
  for (auto& slot : slots_) {
    if (slot.load(std::memory_order_relaxed) == channel) slot.store(nullptr, std::memory_order_release);
  }
}

uint64_t Mixer::HeardFrame() const {
  const uint64_t start = lastStart_.load(std::memory_order_relaxed);
  const int frames = lastFrames_.load(std::memory_order_relaxed);
  const int64_t since = NowNs() - lastRenderNs_.load(std::memory_order_relaxed);
  const int64_t moved = std::clamp<int64_t>(since * rate_ / 1'000'000'000, 0, frames);
  const int64_t heard = static_cast<int64_t>(start) + moved - latencyFrames_;
  return heard < 0 ? 0 : static_cast<uint64_t>(heard);
}

}  // namespace orve::audio
