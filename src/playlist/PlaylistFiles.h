#pragma once
// The playlist's files: Default.pld between runs, M3U files for other players
// (and PLS files, which the command line opens).
// Both are line files; only paths are stored, so titles, durations and kinds
// are measured again from the audio files when they are read.

#include <QString>
#include <QStringList>

#include "playlist/EntryAdder.h"

namespace orve {

inline constexpr char kDefaultPlaylistName[] = "Default.pld";

// What Default.pld lines add, in order: an "HTTP" line is a stream entry
// titled with its address; independently, a line naming an existing file
// is a file entry. Other lines are dropped.
QList<EntryAdder::Item> DefaultPlaylistItems(const QStringList& lines);

// The files of M3U lines: a line that is not empty, does not start with
// "#EX" (letter case as written) and names an existing file. Relative
// paths are not resolved; addresses never pass the file test.
QStringList M3uPaths(const QStringList& lines);

// The entries of PLS lines, in their order: the value of each "FileN="
// line (key in any letter case) that is an http(s) address or names an
// existing file. Titles and lengths are measured again.
QStringList PlsEntries(const QStringList& lines);

// Whether a name is a playlist file the command line opens: .m3u, .m3u8
// or .pls, any letter case.
bool IsPlaylistFileName(const QString& name);

// "#EXTM3U" and then the paths, CR LF after each line.
QStringList M3uLines(const QStringList& paths);

}  // namespace orve
