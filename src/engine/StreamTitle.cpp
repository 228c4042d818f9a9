#include "engine/StreamTitle.h"

namespace orve {

QString CutStreamTitle(const QString& metadata) {
  static const QString kField = QStringLiteral("StreamTitle='");
  const qsizetype open = metadata.indexOf(kField);
  if (open < 0) return {};
  const qsizetype start = open + kField.size();
  qsizetype end = metadata.indexOf(QLatin1String("';"), start);
  if (end < 0) end = metadata.lastIndexOf(u'\'');
  if (end < start) return {};
  return metadata.mid(start, end - start);
}

}  // namespace orve
