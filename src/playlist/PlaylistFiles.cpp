#include "playlist/PlaylistFiles.h"

#include <algorithm>

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

QStringList PlsEntries(const QStringList& lines) {
  QStringList entries;
  for (const QString& line : lines) {
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0) continue;
    const QString key = line.left(equals).trimmed();
    if (!key.startsWith(QLatin1String("file"), Qt::CaseInsensitive) || key.size() == 4) continue;
    if (!std::all_of(key.begin() + 4, key.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) continue;
    const QString value = line.mid(equals + 1).trimmed();
    if (StartsWithHttp(value)) {
      entries.append(value);
    } else if (const QString file = ExistingFile(value); !file.isEmpty()) {
      entries.append(file);
    }
  }
  return entries;
}

bool IsPlaylistFileName(const QString& name) {
  for (const char* extension : {".m3u", ".m3u8", ".pls"}) {
    if (name.endsWith(QLatin1String(extension), Qt::CaseInsensitive)) return true;
  }
  return false;
}

QStringList M3uLines(const QStringList& paths) {
  QStringList lines{QStringLiteral("#EXTM3U")};
  lines += paths;
  return lines;
}

}  // namespace orve
