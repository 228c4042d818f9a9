#include "app/AppDir.h"

#include <QDir>
#include <QStandardPaths>

namespace orve {

QString AppDirName() {
  QString dir = qEnvironmentVariable("ORVE_HOME");
  if (dir.isEmpty()) {
    dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/orve");
  }
  return QDir(dir).absolutePath();
}

QString ResolveAppDir() {
  QString dir = AppDirName();
  if (!QDir().mkpath(dir)) {
    qWarning("orve: cannot create the program folder %s; using the working folder", qUtf8Printable(dir));
    return {};
  }
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  return dir;
}

}  // namespace orve
