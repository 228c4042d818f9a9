#include "convert/EncoderLocator.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace orve {
namespace {

QString Executable(const QString& folder, const QString& name) {
  if (folder.isEmpty()) return {};
  const QFileInfo file(QDir(folder).filePath(name));
  return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
}

}  // namespace

QString FindEncoder(const QString& encoder, const QString& codecsFolder, const QString& ownProgramsFolder) {
  QString found = Executable(codecsFolder, encoder);
  if (found.isEmpty()) found = QStandardPaths::findExecutable(encoder);
  if (found.isEmpty() && encoder == QLatin1String("faac")) {
    const QString own = QString::fromLatin1(kOwnAacEncoder);
    found = Executable(ownProgramsFolder, own);
    if (found.isEmpty()) found = QStandardPaths::findExecutable(own);
  }
  return found;
}

QString MissingEncoderReason(const QString& encoder) {
  if (encoder == QLatin1String("faac")) {
    return QStringLiteral("не найден кодировщик AAC (ни faac, ни %1 рядом с программой)").arg(QLatin1String(kOwnAacEncoder));
  }
  const QString package = encoder == QLatin1String("oggenc") ? QStringLiteral("vorbis-tools") : encoder;
  return QStringLiteral("не найден кодировщик %1 (установите пакет %2)").arg(encoder, package);
}

}  // namespace orve
