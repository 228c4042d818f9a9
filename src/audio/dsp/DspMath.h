#pragma once
// Small numeric helpers shared by the DSP blocks: unit conversions, the
// denormal flush applied to recursive state, and a cheap sine for LFOs.

#include <cmath>
#include <cstddef>

namespace orve::dsp {

inline constexpr double kPi = 3.14159265358979323846;

// Recursive state below this magnitude is set to exact zero, so decaying
// tails never reach the subnormal range even where FTZ/DAZ is not set.
inline constexpr float kFlushBelow = 1e-20f;

inline float FlushTiny(float v) { return std::fabs(v) < kFlushBelow ? 0.0f : v; }
inline double FlushTiny(double v) { return std::fabs(v) < double{kFlushBelow} ? 0.0 : v; }

inline double DbToGain(double db) { return std::pow(10.0, db / 20.0); }
inline double MillibelToGain(double mb) { return std::pow(10.0, mb / 2000.0); }

// Frames for a duration in ms at `rate`, at least 1.
inline int MsToFrames(double ms, int rate) {
  const int n = static_cast<int>(std::lround(ms * 1e-3 * rate));
  return n < 1 ? 1 : n;
}

inline std::size_t NextPowerOfTwo(std::size_t n) {
  std::size_t p = 1;
  while (p < n) p <<= 1;
  return p;
}

// floor() without a libm call on baseline x86-64 (no SSE4.1 round), for
// values well inside the range of long long.
inline double FastFloor(double x) {
  const double t = static_cast<double>(static_cast<long long>(x));
  return t > x ? t - 1.0 : t;
}

// sin(2*pi*cycles) for any finite `cycles`, error below 1e-6: folds to a
// quarter wave and evaluates an odd polynomial (no table, no libm call).
inline float SinCycles(double cycles) {
  double q = cycles - FastFloor(cycles + 0.5);  // [-0.5, 0.5)
  if (q > 0.25) q = 0.5 - q;
  if (q < -0.25) q = -0.5 - q;
  const double x = 2.0 * kPi * q;  // [-pi/2, pi/2]
  const double x2 = x * x;
  const double p = 1.0 + x2 * (-1.0 / 6 + x2 * (1.0 / 120 + x2 * (-1.0 / 5040 +
                   x2 * (1.0 / 362880 + x2 * (-1.0 / 39916800)))));
  return static_cast<float>(x * p);
}

// Triangle with the phase of SinCycles: 0 at 0 cycles, +1 at 1/4, -1 at 3/4.
inline float TriangleCycles(double cycles) {
  const double t = cycles + 0.25 - FastFloor(cycles + 0.25);  // [0, 1)
  return static_cast<float>(1.0 - 4.0 * std::fabs(t - 0.5));
}

// Runs `run(stereo, n)` over `frames` interleaved stereo frames in spans
// that end where coefficients are due: `step()` is called every `period`
// frames, not per sample. `untilStep` carries the count from one call to
// the next.
template <typename Step, typename Run>
void InStepSpans(float* stereo, int frames, int period, int& untilStep, Step&& step, Run&& run) {
  while (frames > 0) {
    if (untilStep == 0) {
      step();
      untilStep = period;
    }
    const int n = frames < untilStep ? frames : untilStep;
    run(stereo, n);
    stereo += 2 * n;
    frames -= n;
    untilStep -= n;
  }
}

}  // namespace orve::dsp
