#pragma once
// File names as the file system has them: bytes, usually UTF-8. A name that
// is not valid UTF-8 (an old Windows-1251 name on a Linux disk) keeps its
// bytes all the way from the folder to the audio library and into
// Default.pld: each byte that is not part of a UTF-8 character is held as
// the lone surrogate U+DC00 + byte and goes back to the same byte. Qt's own
// file classes cannot name such a file, so the tests of the file system
// the playlist needs are here too.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace orve {

QString DecodeFileName(QByteArrayView bytes);
QByteArray EncodeFileName(const QString& name);

// The name for the user to read: held bytes read as Windows-1251.
QString DisplayFileName(const QString& name);

// Whether Qt's file classes can name the file (no held bytes).
bool QtCanName(const QString& name);

// A name as Qt hands it over (from a dialog, a drop, a command line it
// decoded), where U+FFFD stands for bytes that were not UTF-8: the name of
// the file it means, found by listing its folders. A name that exists, or
// that matches nothing, is given back as it is.
QString ResolveFileName(const QString& name);

bool IsRegularFile(const QString& name);  // exists, and is not a folder
bool IsFolder(const QString& name);
// Relative names are taken from the working folder.
QString AbsoluteFileName(const QString& name);

}  // namespace orve
