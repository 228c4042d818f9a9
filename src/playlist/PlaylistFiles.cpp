#include "playlist/PlaylistFiles.h"

#include <QFileInfo>


namespace orve {
namespace {

bool FileExists(const QString& path) {
  if (path.isEmpty()) return false;
  const QFileInfo info(path);
  return info.exists() && !info.isDir();
}

bool StartsWithHttp(const QString& line) {
  return line.left(4).compare(QLatin1String("HTTP"), Qt::CaseInsensitive) == 0;
}

}  // namespace

QList<EntryAdder::Item> DefaultPlaylistItems(const QStringList& lines) {
  QList<EntryAdder::Item> items;
  for (const QString& line : lines) {
    if (StartsWithHttp(line)) items.append({line, true});
    if (FileExists(line)) items.append({line, false});
  }
  return items;
}

QStringList M3uPaths(const QStringList& lines) {
  QStringList paths;
  for (const QString& line : lines) {
    if (line.isEmpty() || line.startsWith(QLatin1String("#EX"))) continue;
    if (FileExists(line)) paths.append(line);
  }
  return paths;
}

QStringList M3uLines(const QStringList& paths) {
  QStringList lines{QStringLiteral("#EXTM3U")};
  lines += paths;
  return lines;
}

}  // namespace orve
