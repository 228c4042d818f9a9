#include "library/RadioBase.h"

#include "settings/FileError.h"
#include "settings/LineFile.h"

namespace orve {

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
