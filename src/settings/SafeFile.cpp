#include "settings/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "settings/FileError.h"

namespace orve {

FileError FileError::WriteFailed(const QString& fileName) {
  return FileError(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(fileName)));
}

FileError FileError::ReadFailed(const QString& fileName, const QString& reason) {
  return FileError(QStringLiteral("Не удаётся прочитать файл \"%1\": %2")
                       .arg(QDir::toNativeSeparators(fileName), reason));
}

void WriteFileSafely(const QString& fileName, const QByteArray& content) {
  const QString full = QFileInfo(fileName).absoluteFilePath();
  QSaveFile file(full);
  // Never fall back to writing in place: that is exactly what may lose the old file.
  file.setDirectWriteFallback(false);
  if (!file.open(QIODevice::WriteOnly)) throw FileError::WriteFailed(full);
  if (file.write(content) != content.size()) {
    file.cancelWriting();
    throw FileError::WriteFailed(full);
  }
  if (!file.commit()) throw FileError::WriteFailed(full);
}

}  // namespace orve
