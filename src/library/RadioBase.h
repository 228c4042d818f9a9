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

// In a fresh program folder (no config.ini, no rbase.dbm yet): a small
// example radio base the user can edit. A user's own file is never
// replaced, and one the user removed stays removed. False (and why, on
// stderr) when it cannot be written.
bool InstallExampleRadioBase(const QString& appDir);

// The stations of `fileName`, in file order. A missing file holds none; one
// that cannot be read holds none too, and says why on stderr.
QList<Station> ReadRadioBase(const QString& fileName);

}  // namespace orve
