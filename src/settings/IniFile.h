#pragma once
// An INI file on disk (config.ini, base.dbm): every operation goes to the
// file, so what one part of the program writes is what every later reader
// sees, even through another IniFile object.
//
// The parsed text is kept in memory and parsed again only when the file
// changed on disk (size, modification time or identity), so a read costs no
// parsing. Every write replaces the file safely (temporary file + rename);
// when that fails, FileError "Unable to write to <name>" is thrown, the file
// on disk is left whole and the keys written before stay.
//
// Used from the UI thread only.

#include <QString>
#include <QStringList>
#include <ctime>
#include <sys/types.h>

#include "settings/ConfigKeys.h"
#include "settings/IniDocument.h"
#include "settings/StoredValues.h"

namespace orve {

class IniFile final : public StoredValues {
 public:
  // Nothing is read yet.
  explicit IniFile(const QString& fileName);

  const QString& FileName() const { return fileName_; }

  QString ReadString(const QString& section, const QString& key, const QString& def);
  int ReadInteger(const QString& section, const QString& key, int def);
  bool ReadBool(const QString& section, const QString& key, bool def);
  double ReadFloat(const QString& section, const QString& key, double def);

  void WriteString(const QString& section, const QString& key, const QString& value);
  void WriteInteger(const QString& section, const QString& key, int value);
  void WriteBool(const QString& section, const QString& key, bool value);
  void WriteFloat(const QString& section, const QString& key, double value);

  void EraseSection(const QString& section);
  void DeleteKey(const QString& section, const QString& key);
  QStringList ReadSections();
  QStringList ReadSection(const QString& section);  // the keys, in file order
  QList<std::pair<QString, QString>> ReadSectionValues(const QString& section);  // keys and values
  bool SectionExists(const QString& section);
  bool ValueExists(const QString& section, const QString& key);

  // Normally every write is on disk when it returns. A caller about to make
  // many writes in a row (the music base during a large add) may defer them:
  // they then stay in memory until UpdateFile, which writes them at once.
  void SetDeferredWrites(bool deferred);
  // Writes what is pending. On failure FileError is thrown and the pending
  // writes are dropped: the file and every later read keep the old values.
  void UpdateFile();
  // A caller about to read many times in a row (the music base checking
  // each file of a large add) may hold the look at the disk for changes:
  // while held, reads take the file as the first of them found it.
  void HoldDiskCheck(bool held) { checkHeld_ = held; }
  // Pending writes are attempted here too; a failure is only logged, since
  // a destructor cannot report it: owners that defer call UpdateFile.
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  // The key table's readers and writers: the default travels with the key.
  QString Read(const config::TextKey& k) override { return ReadString(k.section, k.key, k.def); }
  int Read(const config::IntKey& k) override { return ReadInteger(k.section, k.key, k.def); }
  bool Read(const config::BoolKey& k) override { return ReadBool(k.section, k.key, k.def); }
  double Read(const config::RealKey& k) override { return ReadFloat(k.section, k.key, k.def); }
  void Write(const config::TextKey& k, const QString& v) { WriteString(k.section, k.key, v); }
  void Write(const config::IntKey& k, int v) { WriteInteger(k.section, k.key, v); }
  void Write(const config::BoolKey& k, bool v) { WriteBool(k.section, k.key, v); }
  void Write(const config::RealKey& k, double v) { WriteFloat(k.section, k.key, v); }

  static constexpr int kMaxTextLength = 2047;

 private:
  struct Stamp {
    bool exists = false;
    off_t size = 0;
    timespec mtime{};
    ino_t inode = 0;
    dev_t device = 0;
    bool operator==(const Stamp& o) const;
  };
  static Stamp StampOf(const QString& fileName);
  void Refresh();
  void Save();
  void SaveOrForget();  // Save; on failure memory goes back to the disk's values
  void Changed();  // after a change of doc_: save now, or later when deferred

  QString fileName_;
  IniDocument doc_;
  Stamp stamp_;
  bool loaded_ = false;
  bool unreadable_ = false;  // the file exists but could not be read: never overwrite it
  bool deferred_ = false;
  bool dirty_ = false;       // deferred writes not yet on disk
  bool checkHeld_ = false;
};

}  // namespace orve
