#pragma once
// Whole-file replacement that never leaves a half-written file: the content
// goes to a temporary file in the same folder, which is renamed over the old
// one. On failure the old file stays as it was and FileError::WriteFailed is
// thrown.

#include <QByteArray>
#include <QString>

namespace orve {

void WriteFileSafely(const QString& fileName, const QByteArray& content);

// A save cut off by a crash (kill -9, power loss) between naming its
// temporary file and renaming it leaves "NAME.XXXXXX" beside the file, whole
// but never used. Removes such leftovers of `fileName` older than a minute
// (a younger one may be another running copy's save in progress).
void RemoveStaleSaves(const QString& fileName);

}  // namespace orve
