#pragma once
// A single-producer single-consumer ring of interleaved stereo float frames.
//
// Thread model: exactly one producer thread (a channel's decoder thread)
// calls Write and Free; exactly one consumer thread (the output callback)
// calls Read, Available and DiscardAll. Neither side ever waits or locks: each
// side owns one index and publishes it with a release store; the other side
// reads it with an acquire load. The buffer is allocated once, by the thread
// that constructs the ring, before either side runs.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <vector>

namespace orve::audio {

class StereoRing {
 public:
  explicit StereoRing(int capacityFrames)
      : capacity_(std::max(capacityFrames, 1)), data_(2 * static_cast<size_t>(capacity_)) {}

  int Capacity() const { return capacity_; }

  // Producer: frames that can be written now.
  int Free() const {
    return capacity_ - static_cast<int>(write_.load(std::memory_order_relaxed) -
                                        read_.load(std::memory_order_acquire));
  }

  // Producer: copies up to `frames` frames in; returns how many fitted.
  int Write(const float* frames, int count) {
    const uint64_t w = write_.load(std::memory_order_relaxed);
    const int n = std::min(count, Free());
    CopyIn(w, frames, n);
    write_.store(w + static_cast<uint64_t>(n), std::memory_order_release);
    return n;
  }

  // Consumer: frames ready to be read.
  int Available() const {
    return static_cast<int>(write_.load(std::memory_order_acquire) -
                            read_.load(std::memory_order_relaxed));
  }

  // Consumer: copies up to `count` frames out; returns how many were read.
  int Read(float* out, int count) {
    const uint64_t r = read_.load(std::memory_order_relaxed);
    const int n = std::min(count, Available());
    CopyOut(r, out, n);
    read_.store(r + static_cast<uint64_t>(n), std::memory_order_release);
    return n;
  }

  // Consumer: drops everything written so far (a seek flushes the ring while
  // the producer is known to be waiting).
  void DiscardAll() {
    read_.store(write_.load(std::memory_order_acquire), std::memory_order_release);
  }

 private:
  void CopyIn(uint64_t at, const float* src, int n) {
    const int start = static_cast<int>(at % static_cast<uint64_t>(capacity_));
    const int first = std::min(n, capacity_ - start);
    std::memcpy(&data_[2 * static_cast<size_t>(start)], src, sizeof(float) * 2 * first);
    std::memcpy(data_.data(), src + 2 * first, sizeof(float) * 2 * (n - first));
  }
  void CopyOut(uint64_t at, float* dst, int n) const {
    const int start = static_cast<int>(at % static_cast<uint64_t>(capacity_));
    const int first = std::min(n, capacity_ - start);
    std::memcpy(dst, &data_[2 * static_cast<size_t>(start)], sizeof(float) * 2 * first);
    std::memcpy(dst + 2 * first, data_.data(), sizeof(float) * 2 * (n - first));
  }

  const int capacity_;
  std::vector<float> data_;
  std::atomic<uint64_t> write_{0};  // written by the producer only
  std::atomic<uint64_t> read_{0};   // written by the consumer only
};

}  // namespace orve::audio
