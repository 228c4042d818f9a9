#include "settings/LineFile.h"

#include "settings/SafeFile.h"
#include "settings/TextFile.h"

namespace orve {

QStringList SplitLines(const QString& text) {
  QStringList lines;
  qsizetype end = text.indexOf(QChar(u'\0'));
  if (end < 0) end = text.size();
  qsizetype start = 0;
  qsizetype i = 0;
  while (i < end) {
    const QChar c = text.at(i);
    if (c == u'\r' || c == u'\n') {
      lines.append(text.mid(start, i - start));
      if (c == u'\r' && i + 1 < end && text.at(i + 1) == u'\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < end) lines.append(text.mid(start, end - start));
  return lines;
}

QStringList ReadLineFile(const QString& fileName, bool* exists) {
  return SplitLines(DecodeFileText(ReadFileBytes(fileName, exists)));
}

void WriteLineFile(const QString& fileName, const QStringList& lines) {
  QByteArray content;
  for (const QString& line : lines) {
    content += line.toUtf8();
    content += "\r\n";
  }
  WriteFileSafely(fileName, content);
}

}  // namespace orve
