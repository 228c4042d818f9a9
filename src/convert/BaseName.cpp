#include "convert/BaseName.h"

namespace orve {

QString BaseName(const QString& path) {
  QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
  // The extension goes whatever its length (a name that is only one, such
  // as ".mp3", leaves nothing).
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0) name.truncate(dot);
  if (name.isEmpty()) return QStringLiteral("Без имени");
  return name;
}

}  // namespace orve
