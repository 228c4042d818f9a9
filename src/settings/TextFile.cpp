#include "settings/TextFile.h"

#include <QFile>
#include <QFileInfo>

#include "base/TextCodec.h"
#include "settings/FileError.h"

namespace orve {

QByteArrayView WithoutByteOrderMarks(QByteArrayView bytes) {
  while (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
  return bytes;
}

QString DecodeFileText(const QByteArray& bytes) {
  const QByteArrayView view = WithoutByteOrderMarks(bytes);
  const std::string_view raw(view.data(), static_cast<size_t>(view.size()));
  if (IsValidUtf8(raw)) return QString::fromUtf8(view);
  return QString::fromStdString(Cp1251ToUtf8(raw));
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
