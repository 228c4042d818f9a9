#include "settings/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "base/TextCodec.h"
#include "settings/FileError.h"

namespace orve {

QByteArrayView WithoutByteOrderMarks(QByteArrayView bytes) {
  while (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
  return bytes;
}

QString Utf8KeepingMarks(QByteArrayView bytes) {
  QStringDecoder decoder(QStringConverter::Utf8,
                         QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
  return decoder.decode(bytes);
}

// Line by line: one line in the old encoding (pasted from an old file, or
// written by an old version) leaves the UTF-8 lines around it as they are.
QString DecodeFileText(const QByteArray& bytes) {
  const QByteArrayView view = WithoutByteOrderMarks(bytes);
  const std::string_view raw(view.data(), static_cast<size_t>(view.size()));
  if (IsValidUtf8(raw)) return QString::fromUtf8(view);
  QString text;
  text.reserve(view.size());
  for (size_t start = 0; start < raw.size();) {
    const size_t lineEnd = raw.find_first_of("\r\n", start);
    const size_t end = lineEnd == std::string_view::npos ? raw.size() : lineEnd + 1;
    const std::string_view line = raw.substr(start, end - start);
    if (IsValidUtf8(line)) {
      text += Utf8KeepingMarks(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
    } else {
      text += QString::fromStdString(Cp1251ToUtf8(line));
    }
    start = end;
  }
  return text;
}

QByteArray ReadFileBytes(const QString& fileName, bool* exists) {
  QFile file(fileName);
  const bool present = file.exists();
  if (exists) *exists = present;
  if (!present) return {};
  if (!file.open(QIODevice::ReadOnly)) {
    throw FileError::ReadFailed(QFileInfo(fileName).absoluteFilePath(), file.errorString());
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw FileError::ReadFailed(QFileInfo(fileName).absoluteFilePath(), file.errorString());
  }
  return bytes;
}

}  // namespace orve
