#include "app/CommandLine.h"

#include <QByteArray>

#include "playlist/PlaylistFiles.h"
#include "settings/FileError.h"
#include "settings/FileNames.h"
#include "settings/LineFile.h"

namespace orve {

QString CommandLineName(QByteArrayView argument) {
  constexpr QByteArrayView kScheme("file:");
  if (argument.size() <= kScheme.size() || argument.first(kScheme.size()).compare(kScheme, Qt::CaseInsensitive) != 0) {
    return DecodeFileName(argument);
  }
  QByteArrayView rest = argument.sliced(kScheme.size());
  if (rest.startsWith("//")) {
    rest = rest.sliced(2);
    const qsizetype slash = rest.indexOf('/');
    const QByteArrayView host = slash < 0 ? rest : rest.first(slash);
    if (slash < 0 || !(host.isEmpty() || host.compare("localhost", Qt::CaseInsensitive) == 0)) {
      return DecodeFileName(argument);  // another machine's file: not ours to open
    }
    rest = rest.sliced(slash);
  }
  if (!rest.startsWith('/')) return DecodeFileName(argument);
  // A query or a fragment is not part of the path ("#" in a name is "%23").
  for (const char end : {'?', '#'}) {
    if (const qsizetype at = rest.indexOf(end); at >= 0) rest = rest.first(at);
  }
  return DecodeFileName(QByteArray::fromPercentEncoding(rest.toByteArray()));
}

QStringList CommandLineNames(int argc, char** argv) {
  QStringList names;
  for (int i = 1; i < argc; ++i) {
    const QString name = CommandLineName(QByteArrayView(argv[i]));
    if (!IsPlaylistFileName(name) || !IsRegularFile(name)) {
      names << name;
      continue;
    }
    try {
      const QStringList lines = ReadPathLines(name);
      names << (name.endsWith(QLatin1String(".pls"), Qt::CaseInsensitive) ? PlsEntries(lines) : M3uPaths(lines));
    } catch (const FileError& e) {
      qWarning("orve: %s", qUtf8Printable(e.message()));
    }
  }
  return names;
}

}  // namespace orve
