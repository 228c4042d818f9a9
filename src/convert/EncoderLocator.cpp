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

QString EncoderPackage(const QString& encoder) {
  if (encoder == QLatin1String("oggenc")) return QStringLiteral("vorbis-tools");
  if (encoder == QLatin1String("faac")) return QStringLiteral("orve");
  return encoder;
}

}  // namespace orve
