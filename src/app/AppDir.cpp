#include "app/AppDir.h"

#include <QDir>
#include <QStandardPaths>

namespace orve {

QString ResolveAppDir() {
  QString dir = qEnvironmentVariable("ORVE_HOME");
  if (dir.isEmpty()) {
    dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/orve");
  }
  dir = QDir(dir).absolutePath();
  if (!QDir().mkpath(dir)) {
    qWarning("orve: cannot create the program folder %s; using the working folder", qUtf8Printable(dir));
    return {};
  }
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  return dir;
}

}  // namespace orve
