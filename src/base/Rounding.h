#pragma once
// The one rounding rule of the program: to the nearest whole number, halves
// to the even neighbour (2.5 -> 2, 3.5 -> 4), as positions, lengths and the
// bit-rate display expect.

#include <cmath>
#include <cstdint>
#include <limits>

namespace orve {

inline int64_t RoundHalfEven(double value) {
  if (!std::isfinite(value)) return 0;
  constexpr double kMax = 9.2e18;  // inside int64 range, so the cast is defined
  if (value >= kMax) return std::numeric_limits<int64_t>::max();
  if (value <= -kMax) return std::numeric_limits<int64_t>::min();
  // Explicit, so the result never depends on the floating-point rounding mode.
  const double lower = std::floor(value);
  const double diff = value - lower;
  double result = lower;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(lower, 2.0) != 0.0)) result = lower + 1.0;
  return static_cast<int64_t>(result);
}

}  // namespace orve
