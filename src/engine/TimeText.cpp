#include "engine/TimeText.h"

namespace orve {

QString TimeText(uint32_t seconds) {
  const uint32_t h = seconds / 3600;
  const uint32_t m = (seconds - 3600 * h) / 60;
  const uint32_t s = seconds - (60 * m + 3600 * h);
  const QString ss = QStringLiteral("%1").arg(s, 2, 10, QLatin1Char('0'));
  if (h == 0) return QStringLiteral("%1:%2").arg(m).arg(ss);
  return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(ss);
}

}  // namespace orve
