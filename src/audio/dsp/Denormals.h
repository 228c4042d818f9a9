#pragma once
// Sets flush-to-zero and denormals-are-zero for the current thread while the
// object lives, and restores the previous mode on exit. The output callback
// holds one for the duration of each callback: recursive filters that decay
// into subnormals cost tens of times more without it. The blocks also flush
// their own state, so threads without this guard stay correct.

#include <cstdint>

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace orve::dsp {

class ScopedFlushDenormals {
 public:
  ScopedFlushDenormals() {
#if defined(__SSE__) || defined(__x86_64__)
    saved_ = _mm_getcsr();
    _mm_setcsr(saved_ | kFtz | kDaz);
#elif defined(__aarch64__)
    uint64_t fpcr;
    __asm__ __volatile__("mrs %0, fpcr" : "=r"(fpcr));
    saved_ = fpcr;
    fpcr |= kFz;
    __asm__ __volatile__("msr fpcr, %0" : : "r"(fpcr));
#endif
  }
  ~ScopedFlushDenormals() {
#if defined(__SSE__) || defined(__x86_64__)
    _mm_setcsr(static_cast<unsigned>(saved_));
#elif defined(__aarch64__)
    const uint64_t fpcr = saved_;
    __asm__ __volatile__("msr fpcr, %0" : : "r"(fpcr));
#endif
  }
  ScopedFlushDenormals(const ScopedFlushDenormals&) = delete;
  ScopedFlushDenormals& operator=(const ScopedFlushDenormals&) = delete;

 private:
  static constexpr unsigned kFtz = 1u << 15;  // MXCSR flush-to-zero
  static constexpr unsigned kDaz = 1u << 6;   // MXCSR denormals-are-zero
  static constexpr uint64_t kFz = 1u << 24;   // AArch64 FPCR.FZ
  uint64_t saved_ = 0;                        // mode to restore
};

}  // namespace orve::dsp
