#include "convert/ConversionMessages.h"

#include <QDir>
#include <cerrno>
#include <cstring>

namespace orve {

QString ConversionFailureText(const QString& name, ConvertFormat format, const QString& reason) {
  return QStringLiteral("Не удалось конвертировать «%1» в %2: %3.").arg(name, FormatName(format), reason);
}

QString WriteFailureReason(int errorNumber, const QString& folder) {
  const QString shown = QDir::toNativeSeparators(folder);
  switch (errorNumber) {
    case EACCES:
    case EPERM: return QStringLiteral("нет прав на запись в папку %1").arg(shown);
    case ENOSPC:
    case EDQUOT: return QStringLiteral("на диске не хватает места");
    case EROFS: return QStringLiteral("диск доступен только для чтения");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("папка %1 не найдена").arg(shown);
    default: return QStringLiteral("ошибка записи (%1)").arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
  }
}

}  // namespace orve
