// Any bytes as the radio base (rbase.dbm): its lines taken in pairs, the
// address then the name, a last line without its partner left out; no
// address or name holds a line end or a NUL.
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "library/RadioBase.h"
#include "settings/LineFile.h"

using orve::fuzz::Check;

namespace {

bool IsOneLine(const QString& text) {
  return !text.contains(u'\r') && !text.contains(u'\n') && !text.contains(QChar(0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static orve::fuzz::MemoryFile file;
  const QString name = QString::fromStdString(file.Hold(orve::fuzz::Bytes(data, size)));
  const QList<orve::Station> stations = orve::ReadRadioBase(name);
  const QStringList lines = orve::ReadLineFile(name);
  Check(stations.size() == lines.size() / 2);
  for (qsizetype i = 0; i < stations.size(); ++i) {
    Check(stations[i].url == lines[2 * i] && stations[i].name == lines[2 * i + 1]);
    Check(IsOneLine(stations[i].url) && IsOneLine(stations[i].name));
  }
  return 0;
}
