#pragma once
// The text rules shared by every file the program keeps.
// Reading: UTF-8 byte-order marks at the start are skipped; a line that is not valid
// UTF-8 is taken as Windows-1251 (files of older versions keep working).
// Writing: UTF-8 without a byte-order mark.

#include <QByteArray>
#include <QString>

namespace orve {

QString DecodeFileText(const QByteArray& bytes);

// UTF-8 to text with every byte-order mark kept as the character it is:
// QString::fromUtf8 drops one at the start, so a line or a file name that
// begins with one would read differently alone than inside a whole text,
// and would not come back as it went.
QString Utf8KeepingMarks(QByteArrayView bytes);

// The bytes after any UTF-8 byte-order marks at the start. Some editors add
// a mark to a file that already has one: all are skipped, or the first line
// would start with an invisible character.
QByteArrayView WithoutByteOrderMarks(QByteArrayView bytes);

// The whole content of a file. A missing file gives an empty array and sets
// *exists to false; a file that exists but cannot be read throws FileError.
QByteArray ReadFileBytes(const QString& fileName, bool* exists = nullptr);

}  // namespace orve
