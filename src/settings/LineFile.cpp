#include "settings/LineFile.h"

#include "settings/FileNames.h"
#include "settings/SafeFile.h"
#include "settings/TextFile.h"

namespace orve {

QStringList SplitLines(const QString& text, NulByte nul) {
  QStringList lines;
  qsizetype end = nul == NulByte::EndsText ? text.indexOf(QChar(u'\0')) : -1;
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

namespace {

void WriteLines(const QString& fileName, const QStringList& lines, QByteArray (*encode)(const QString&)) {
  QByteArray content;
  for (const QString& line : lines) {
    content += encode(line);
    content += "\r\n";
  }
  WriteFileSafely(fileName, content);
}

QByteArray Utf8(const QString& line) { return line.toUtf8(); }

}  // namespace

void WriteLineFile(const QString& fileName, const QStringList& lines) { WriteLines(fileName, lines, Utf8); }

QStringList ReadPathLines(const QString& fileName, bool* exists) {
  const QByteArray bytes = ReadFileBytes(fileName, exists);
  // The line rules are those of text; Latin-1 keeps every byte as one character.
  QStringList lines = SplitLines(QString::fromLatin1(WithoutByteOrderMarks(bytes)));
  for (QString& line : lines) line = DecodeFileName(line.toLatin1());
  return lines;
}

void WritePathLines(const QString& fileName, const QStringList& lines) { WriteLines(fileName, lines, EncodeFileName); }

}  // namespace orve
