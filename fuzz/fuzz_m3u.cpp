// Any bytes as an M3U file, and as Default.pld, the way the playlist reads
// them: lines of file names kept byte for byte (written back, they read the
// same); the files of an M3U list are existing files its lines name; the
// streams of Default.pld are its "HTTP" lines; and a list of the files
// found, saved as M3U, loads as the same files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "playlist/PlaylistFiles.h"
#include "settings/FileNames.h"
#include "settings/LineFile.h"

using orve::fuzz::Check;

namespace {

// Files the corpus names, in a folder of fixed name so that its inputs can
// name them: a plain name, a UTF-8 name that its Windows-1251 spelling
// finds, a name that is not UTF-8, and a folder.
constexpr char kFolder[] = "/tmp/orve-fuzz-m3u/";

void MakeNamedFiles() {
  const std::string folder = kFolder;
  mkdir(folder.c_str(), 0755);
  mkdir((folder + "folder.mp3").c_str(), 0755);
  for (const char* name : {"a.mp3", "Песня.mp3", "\xCA\xE8\xED\xEE.mp3"}) {
    const int fd = open((folder + name).c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd >= 0) close(fd);
  }
}

bool IsOneLine(const QString& text) {
  return !text.contains(u'\r') && !text.contains(u'\n') && !text.contains(QChar(0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static orve::fuzz::MemoryFile file;
  static orve::fuzz::ScratchDir scratch;
  static const bool made = (MakeNamedFiles(), true);
  (void)made;
  const QString written = QString::fromStdString(scratch.Path() + "list.m3u");

  const QStringList lines = orve::ReadPathLines(QString::fromStdString(file.Hold(orve::fuzz::Bytes(data, size))));
  for (const QString& line : lines) Check(IsOneLine(line));
  if (!lines.isEmpty()) {
    orve::WritePathLines(written, lines);
    Check(orve::ReadPathLines(written) == lines);
  }

  const QStringList paths = orve::M3uPaths(lines);
  Check(paths.size() <= lines.size());
  for (const QString& path : paths) Check(orve::IsRegularFile(path) && !path.startsWith(QLatin1String("#EX")));
  if (!paths.isEmpty()) {
    orve::WritePathLines(written, orve::M3uLines(paths));
    Check(orve::M3uPaths(orve::ReadPathLines(written)) == paths);
  }

  // Each line gives at most a stream and a file, in line order.
  qsizetype line = 0;
  for (const orve::EntryAdder::Item& item : orve::DefaultPlaylistItems(lines)) {
    if (item.stream) {
      while (line < lines.size() && lines[line] != item.path) ++line;
      Check(line < lines.size() && item.path.startsWith(QLatin1String("http"), Qt::CaseInsensitive));
    } else {
      Check(orve::IsRegularFile(item.path));
    }
  }
  return 0;
}
