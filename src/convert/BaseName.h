#pragma once
// The name a conversion gives its output: the file-name part of an entry's
// path without its extension ("Song.aiff" gives "Song", "My.Song.wave"
// gives "My.Song", "Track01.cda" gives "Track01").

#include <QString>

namespace orve {

// A name that would be empty (".mp3") gives "Без имени".
QString BaseName(const QString& path);

}  // namespace orve
