#include "playlist/PlaylistFiles.h"

#include "settings/FileNames.h"

namespace orve {
namespace {

// The file a line names: its bytes as they stand, or, for a line of an
// older Windows-1251 file, the same text read as Windows-1251. Empty when
// neither exists.
QString ExistingFile(const QString& line) {
  if (IsRegularFile(line)) return line;
  if (QtCanName(line)) return {};
  const QString legacy = DisplayFileName(line);
  return IsRegularFile(legacy) ? legacy : QString();
}

bool StartsWithHttp(const QString& line) {
  return line.left(4).compare(QLatin1String("HTTP"), Qt::CaseInsensitive) == 0;
}

}  // namespace

QList<EntryAdder::Item> DefaultPlaylistItems(const QStringList& lines) {
  QList<EntryAdder::Item> items;
  for (const QString& line : lines) {
    if (StartsWithHttp(line)) items.append({line, true});
    if (const QString file = ExistingFile(line); !file.isEmpty()) items.append({file, false});
  }
  return items;
}

QStringList M3uPaths(const QStringList& lines) {
  QStringList paths;
  for (const QString& line : lines) {
    if (line.isEmpty() || line.startsWith(QLatin1String("#EX"))) continue;
    if (const QString file = ExistingFile(line); !file.isEmpty()) paths.append(file);
  }
  return paths;
}

QStringList M3uLines(const QStringList& paths) {
  QStringList lines{QStringLiteral("#EXTM3U")};
  lines += paths;
  return lines;
}

}  // namespace orve
