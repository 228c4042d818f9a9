#include "widgets/TrackMapping.h"

#include <algorithm>

#include "base/Rounding.h"

namespace orve {

int TrackPositionAt(int offset, int extent, int minimum, int maximum) {
  const double range = double(maximum) - double(minimum);
  if (range <= 0 || extent <= 0) return minimum;
  const double steps = range < extent ? offset / (extent / range) : offset * (range / extent);
  const int64_t position = int64_t(minimum) + RoundHalfEven(steps);
  return int(std::clamp<int64_t>(position, minimum, maximum));
}

double ThumbCentreAt(int value, int extent, int thumbLength, int minimum, int maximum) {
  const double half = thumbLength / 2.0;
  const double range = double(maximum) - double(minimum);
  if (range <= 0) return half;
  const double fraction = std::clamp((double(value) - minimum) / range, 0.0, 1.0);
  return half + fraction * std::max(0.0, extent - 2 * half);
}

}  // namespace orve
