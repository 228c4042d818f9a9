#include "settings/IniFile.h"

#include <QFileInfo>
#include <sys/stat.h>

#include "settings/FileError.h"
#include "settings/IniValues.h"
#include "settings/SafeFile.h"
#include "settings/TextFile.h"

namespace orve {

bool IniFile::Stamp::operator==(const Stamp& o) const {
  return exists == o.exists && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
         mtime.tv_nsec == o.mtime.tv_nsec && inode == o.inode && device == o.device;
}

IniFile::IniFile(const QString& fileName) : fileName_(QFileInfo(fileName).absoluteFilePath()) {}

IniFile::Stamp IniFile::StampOf(const QString& fileName) {
  struct stat st {};
  if (::stat(QFile::encodeName(fileName).constData(), &st) != 0) return {};
  return Stamp{true, st.st_size, st.st_mtim, st.st_ino, st.st_dev};
}

IniFile::~IniFile() {
  if (!dirty_) return;
  try {
    Save();
  } catch (const FileError& e) {
    qWarning("%s", e.what());
  }
}

void IniFile::Refresh() {
  if (dirty_) return;  // memory holds writes the disk has not seen yet
  if (checkHeld_ && loaded_) return;
  const Stamp now = StampOf(fileName_);
  if (loaded_ && now == stamp_) return;
  stamp_ = now;
  loaded_ = true;
  unreadable_ = false;
  try {
    doc_ = IniDocument::Parse(DecodeFileText(ReadFileBytes(fileName_)));
  } catch (const FileError& e) {
    // Readers get their defaults; writers must not replace a file they could not read.
    qWarning("%s", e.what());
    doc_ = IniDocument();
    unreadable_ = true;
  }
}

void IniFile::Save() {
  WriteFileSafely(fileName_, doc_.Serialize());
  stamp_ = StampOf(fileName_);
  dirty_ = false;
}

void IniFile::Changed() {
  dirty_ = true;
  if (!deferred_) SaveOrForget();
}

void IniFile::SaveOrForget() {
  try {
    Save();
  } catch (const FileError&) {
    // Memory goes back to what the disk holds, so no reader sees the failed values.
    dirty_ = false;
    loaded_ = false;
    throw;
  }
}

void IniFile::SetDeferredWrites(bool deferred) {
  deferred_ = deferred;
  if (!deferred_ && dirty_) Save();
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) {
  Refresh();
  const auto value = doc_.Value(section, key);
  return value ? value->left(kMaxTextLength) : def;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) {
  Refresh();
  const auto value = doc_.Value(section, key);
  if (!value) return def;
  return ParseIniInteger(*value).value_or(def);
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::ReadFloat(const QString& section, const QString& key, double def) {
  Refresh();
  const auto value = doc_.Value(section, key);
  if (!value) return def;
  return ParseIniReal(*value).value_or(def);
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  Refresh();
  if (unreadable_) throw FileError::WriteFailed(fileName_);
  doc_.SetValue(section, key, value);
  Changed();
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) {
  WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value) {
  WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::WriteFloat(const QString& section, const QString& key, double value) {
  WriteString(section, key, FormatIniReal(value));
}

void IniFile::EraseSection(const QString& section) {
  Refresh();
  if (unreadable_) throw FileError::WriteFailed(fileName_);
  if (doc_.EraseSection(section)) Changed();
}

void IniFile::DeleteKey(const QString& section, const QString& key) {
  Refresh();
  if (unreadable_) throw FileError::WriteFailed(fileName_);
  if (doc_.DeleteKey(section, key)) Changed();
}

QStringList IniFile::ReadSections() {
  Refresh();
  return doc_.Sections();
}

QStringList IniFile::ReadSection(const QString& section) {
  Refresh();
  return doc_.Keys(section);
}

QList<std::pair<QString, QString>> IniFile::ReadSectionValues(const QString& section) {
  Refresh();
  return doc_.Entries(section);
}

bool IniFile::SectionExists(const QString& section) {
  Refresh();
  return doc_.SectionExists(section);
}

bool IniFile::ValueExists(const QString& section, const QString& key) {
  Refresh();
  return doc_.KeyExists(section, key);
}

void IniFile::UpdateFile() {
  if (dirty_) SaveOrForget();
}

}  // namespace orve
