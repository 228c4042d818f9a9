#include "library/RadioBase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "settings/ConfigKeys.h"
#include "settings/FileError.h"
#include "settings/LineFile.h"

namespace orve {

bool InstallExampleRadioBase(const QString& appDir) {
  const QString target = appDir + QString::fromLatin1(kRadioBaseFileName);
  if (QFileInfo::exists(appDir + QString::fromLatin1(config::kFileName)) || QFileInfo::exists(target)) return true;
  if (!QDir().mkpath(appDir) || !QFile::copy(QStringLiteral(":/library/rbase.dbm"), target)) {
    qWarning("orve: cannot write the example radio base %s", qUtf8Printable(target));
    return false;
  }
  // Resource files are read-only; the copy is the user's to edit.
  QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
  return true;
}

QList<Station> ReadRadioBase(const QString& fileName) {
  QStringList lines;
  try {
    lines = ReadLineFile(fileName);
  } catch (const FileError& e) {
    qWarning("%s", e.what());
  }
  QList<Station> stations;
  for (qsizetype i = 0; i + 1 < lines.size(); i += 2) stations.append({lines[i], lines[i + 1]});
  return stations;
}

}  // namespace orve
