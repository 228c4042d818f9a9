#pragma once
// The destination folders of conversions (section folder of config.ini):
// one to ten folders, the first of which is where a conversion writes when
// no other was chosen. Stored with a trailing separator; kept in memory
// without one (the root "/" excepted).

#include <QString>
#include <QStringList>

namespace orve {

class IniFile;

inline constexpr int kMaxDestinationFolders = 10;

// The list as config.ini holds it: with no folder stored, the single folder
// appDir + "Decode"; otherwise keys "0" .. count (at most ten), a missing one
// read as the root "/".
QStringList ReadDestinationFolders(IniFile& config, const QString& appDir);
// Replaces the section with `folders` (count, then each with its separator).
void WriteDestinationFolders(IniFile& config, const QStringList& folders);

// A folder with the separator at its end, as conversions and the menu
// captions use it; a folder that already ends with one is kept.
QString WithSeparator(const QString& folder);

// Where `folders` holds `folder`, compared without regard to letter case
// (two folders that differ only in case are one to the user); -1 for nowhere.
qsizetype FolderIndex(const QStringList& folders, const QString& folder);

}  // namespace orve
