#include "playlist/PlaylistFiles.h"

#include <QFileInfo>

#include "engine/Core.h"

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

void LoadDefaultPlaylistLines(TCore& engine, const QStringList& lines, const AppendItem& appendItem) {
  for (const QString& line : lines) {
    if (StartsWithHttp(line)) {
      engine.AddStreamEntry(line, line);
      appendItem();
    }
    if (FileExists(line) && engine.AddEntry(line)) appendItem();
  }
}

void LoadM3uLines(TCore& engine, const QStringList& lines, const AppendItem& appendItem) {
  for (const QString& line : lines) {
    if (line.isEmpty() || line.startsWith(QLatin1String("#EX"))) continue;
    if (FileExists(line) && engine.AddEntry(line)) appendItem();
  }
}

QStringList M3uLines(const QStringList& paths) {
  QStringList lines{QStringLiteral("#EXTM3U")};
  lines += paths;
  return lines;
}

}  // namespace orve
