#pragma once
// Hands a parameter record from the UI thread to the audio thread without a
// lock: a triple buffer. The writer fills its own slot and swaps it into the
// middle; the reader swaps the middle into its own slot when the "fresh" bit
// is set. Neither side ever waits, and the reader always sees a whole record
// (the latest one written). One writer thread and one reader thread at a time.

#include <array>
#include <atomic>
#include <cstdint>

namespace orve::dsp {

template <typename T>
class ParamMailbox {
 public:
  // Writer thread (UI).
  void Write(const T& value) {
    slots_[back_] = value;
    back_ = middle_.exchange(static_cast<uint8_t>(back_ | kFresh), std::memory_order_acq_rel) & kIndex;
  }
  // Reader thread (audio): true and `out` filled when a record arrived since
  // the last Read. One relaxed load when nothing is new.
  bool Read(T& out) {
    if ((middle_.load(std::memory_order_relaxed) & kFresh) == 0) return false;
    front_ = middle_.exchange(front_, std::memory_order_acq_rel) & kIndex;
    out = slots_[front_];
    return true;
  }

 private:
  static constexpr uint8_t kIndex = 3;
  static constexpr uint8_t kFresh = 4;
  std::array<T, 3> slots_{};
  uint8_t back_ = 0;                 // writer thread only: slot being filled
  std::atomic<uint8_t> middle_{1};   // shared: last published slot | kFresh
  uint8_t front_ = 2;                // reader thread only: slot last read
};

}  // namespace orve::dsp
