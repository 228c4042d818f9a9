#pragma once
// The kind of a playlist entry, decided from its path: "4" for an address
// starting with "HTTP" (any letter case, so HTTPS too), otherwise by the
// extension (from the last dot, ASCII letters upper-cased).

#include <QString>

namespace orve {

// "1", "2", "3" or "4"; empty when the extension is not one the player knows.
QString EntryKindOf(const QString& path);

// The files that a drop and the command line accept: every local kind but
// audio-CD tracks (".CDA"), which only the open dialog adds. Not addresses.
bool IsAcceptedForDrop(const QString& path);

}  // namespace orve
