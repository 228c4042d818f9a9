#include "engine/TimeText.h"

#include <cstdio>

namespace orve {

// Formatted without QString::arg: the displays ask twenty times a second and
// every playlist row once.
QString TimeText(uint32_t seconds) {
  const uint32_t h = seconds / 3600;
  const uint32_t m = seconds / 60 % 60;
  const uint32_t s = seconds % 60;
  char text[24];
  const int n = h == 0 ? std::snprintf(text, sizeof text, "%u:%02u", m, s)
                       : std::snprintf(text, sizeof text, "%u:%02u:%02u", h, m, s);
  return QString::fromLatin1(text, n);
}

}  // namespace orve
