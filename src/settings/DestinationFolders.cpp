#include "settings/DestinationFolders.h"

#include <algorithm>

#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"

namespace orve {
namespace {

constexpr QChar kSeparator = u'/';

QString KeyOf(int i) { return QString::number(i); }

}  // namespace

QStringList ReadDestinationFolders(IniFile& config, const QString& appDir) {
  const QString section = QString::fromLatin1(config::folder::kSection);
  const int count = config.Read(config::folder::kCount);
  if (count <= 0 && config.ReadString(section, KeyOf(0), {}).isEmpty()) return {appDir + QStringLiteral("Decode")};
  // A hand-edited count beyond the ten keys reads the ten.
  const int last = std::clamp(count, 0, kMaxDestinationFolders - 1);
  QStringList folders;
  for (int i = 0; i <= last; ++i) {
    QString folder = config.ReadString(section, KeyOf(i), QString(kSeparator));
    if (folder.size() > 1 && folder.endsWith(kSeparator)) folder.chop(1);
    folders << folder;
  }
  return folders;
}

void WriteDestinationFolders(IniFile& config, const QStringList& folders) {
  const QString section = QString::fromLatin1(config::folder::kSection);
  config.EraseSection(section);
  config.Write(config::folder::kCount, static_cast<int>(folders.size()) - 1);
  for (int i = 0; i < folders.size(); ++i) config.WriteString(section, KeyOf(i), WithSeparator(folders[i]));
}

QString WithSeparator(const QString& folder) { return folder.endsWith(kSeparator) ? folder : folder + kSeparator; }

qsizetype FolderIndex(const QStringList& folders, const QString& folder) {
  const auto held = std::find_if(folders.begin(), folders.end(),
                                 [&](const QString& f) { return f.compare(folder, Qt::CaseInsensitive) == 0; });
  return held == folders.end() ? -1 : held - folders.begin();
}

}  // namespace orve
