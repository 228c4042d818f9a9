#pragma once
// Line files: the playlist, M3U files, colour schemes, the radio base.
// A line ends at CR LF, at a lone CR or at a lone LF; a NUL byte ends the
// text; lines are kept exactly as they stand (no trimming). Writing puts
// CR LF after every line, the last one included, and replaces the file
// safely.

#include <QString>
#include <QStringList>

namespace orve {

// A NUL byte ends the text of a line file; INI files keep it as a character
// of its line, so one stray NUL does not lose the settings written after it.
enum class NulByte { EndsText, IsText };

QStringList SplitLines(const QString& text, NulByte nul = NulByte::EndsText);

// Lines of a file. A missing file gives no lines and sets *exists to false;
// a file that exists but cannot be read throws FileError.
QStringList ReadLineFile(const QString& fileName, bool* exists = nullptr);

// Throws FileError ("Unable to write to ...") and keeps the old file on failure.
void WriteLineFile(const QString& fileName, const QStringList& lines);

// Line files of file names (Default.pld, M3U files): each line is kept
// byte for byte as DecodeFileName holds it (settings/FileNames.h), so a name
// that is not UTF-8 comes back as it went; the same rules otherwise.
QStringList ReadPathLines(const QString& fileName, bool* exists = nullptr);
void WritePathLines(const QString& fileName, const QStringList& lines);

}  // namespace orve
