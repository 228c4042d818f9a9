#pragma once
// Whole-file replacement that never leaves a half-written file: the content
// goes to a temporary file in the same folder, which is renamed over the old
// one. On failure the old file stays as it was and FileError::WriteFailed is
// thrown.

#include <QByteArray>
#include <QString>

namespace orve {

void WriteFileSafely(const QString& fileName, const QByteArray& content);

}  // namespace orve
