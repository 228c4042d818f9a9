#include "engine/EntryKind.h"

#include "engine/Core.h"

namespace orve {
namespace {

QString AsciiUpper(QStringView text) {
  QString upper = text.toString();
  for (QChar& c : upper) {
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - (u'a' - u'A'));
  }
  return upper;
}

}  // namespace

QString EntryKindOf(const QString& path) {
  if (AsciiUpper(QStringView(path).left(4)) == QLatin1String("HTTP")) return QString::fromLatin1(kKindStream);
  const qsizetype dot = path.lastIndexOf(u'.');
  if (dot < 0) return {};
  const QString ext = AsciiUpper(QStringView(path).mid(dot));
  for (const char* e : {".MP3", ".CDA", ".MP2", ".MP1", ".WAVE", ".WAV", ".OGG", ".AIFF", ".OGA", ".OPUS", ".FLAC"}) {
    if (ext == QLatin1String(e)) return QString::fromLatin1(kKindFile);
  }
  for (const char* e : {".AAC", ".MP4", ".M4A"}) {
    if (ext == QLatin1String(e)) return QString::fromLatin1(kKindAac);
  }
  if (ext == QLatin1String(".WMA")) return QString::fromLatin1(kKindWma);
  return {};
}

bool IsAcceptedForDrop(const QString& path) {
  const QString kind = EntryKindOf(path);
  if (kind.isEmpty() || kind == QLatin1String(kKindStream)) return false;
  return AsciiUpper(QStringView(path).mid(path.lastIndexOf(u'.'))) != QLatin1String(".CDA");
}

}  // namespace orve
