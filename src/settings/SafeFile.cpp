#include "settings/SafeFile.h"

#include <algorithm>

#include <QDateTime>
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

void RemoveStaleSaves(const QString& fileName) {
  constexpr qint64 kStaleSeconds = 60;
  const QFileInfo target(fileName);
  const QString prefix = target.fileName() + u'.';
  // QSaveFile's temporary names: the file's name, a dot, six letters or digits.
  const QDir folder = target.absoluteDir();
  const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-kStaleSeconds);
  for (const QFileInfo& f : folder.entryInfoList({prefix + QStringLiteral("??????")},
                                                 QDir::Files | QDir::Hidden | QDir::NoSymLinks | QDir::CaseSensitive)) {
    const QString tail = f.fileName().mid(prefix.size());
    const bool random =
        std::all_of(tail.begin(), tail.end(), [](QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); });
    if (random && f.lastModified().toUTC() < before) QFile::remove(f.absoluteFilePath());
  }
}

}  // namespace orve
