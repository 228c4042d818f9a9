#pragma once
// The playlist's files: Default.pld between runs, M3U files for other players.
// Both are line files; only paths are stored, so titles, durations and kinds
// are measured again from the audio files when they are read.

#include <QString>
#include <QStringList>
#include <functional>

namespace orve {

class TCore;

// Called after each entry a loader appended to the engine's lists, so the
// caller appends the list item of the new last entry.
using AppendItem = std::function<void()>;

inline constexpr char kDefaultPlaylistName[] = "Default.pld";

// Default.pld lines: an "HTTP" line becomes a stream entry titled with its
// address; independently, a line naming an existing file is added with
// AddEntry. Other lines are dropped.
void LoadDefaultPlaylistLines(TCore& engine, const QStringList& lines, const AppendItem& appendItem);

// M3U lines: a line that is not empty, does not start with "#EX" (letter
// case as written) and names an existing file is added with AddEntry.
// Relative paths are not resolved; addresses never pass the file test.
void LoadM3uLines(TCore& engine, const QStringList& lines, const AppendItem& appendItem);

// "#EXTM3U" and then the paths, CR LF after each line.
QStringList M3uLines(const QStringList& paths);

}  // namespace orve
