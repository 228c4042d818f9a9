#pragma once
// The radio base, "rbase.dbm" in the program folder: a list of stations the
// user keeps by hand, read once per run and never written. Lines come in
// pairs, the stream's address, then the station's name; a last line
// without its partner is ignored, and empty lines count as lines.

#include <QList>
#include <QString>

namespace orve {

inline constexpr char kRadioBaseFileName[] = "rbase.dbm";

struct Station {
  QString url;
  QString name;
};

// The stations of `fileName`, in file order. A missing file holds none; one
// that cannot be read holds none too, and says why on stderr.
QList<Station> ReadRadioBase(const QString& fileName);

}  // namespace orve
