#include "engine/StreamTitle.h"

namespace orve {

QString CutStreamTitle(const QString& metadata) {
  const qsizetype p = metadata.indexOf(u';') + 1;  // 1-based, 0 when absent
  const qsizetype length = p - 15;
  if (length <= 0) return {};
  return metadata.mid(13, length);
}

}  // namespace orve
