#pragma once
// The music base (TMM): every local file that ever became a playlist entry,
// kept in "base.dbm" in the program folder as INI text, one section per
// artist, one key per title, the file's path as the value.
//
// Names are matched without regard to letter case, and the first file
// registered under an artist and title keeps the entry. Texts the INI form
// cannot hold as they are (a title with "=", leading or trailing blanks, a
// line break, a title that would read as a comment or a section, a byte of
// a file name that is not UTF-8) are stored with those characters as %XX or
// %uXXXX escapes; older files read as they stand.
//
// Writes are collected and reach the file in one safe save when the event
// loop next turns (so adding a thousand files does not write the file a
// thousand times), at Flush, and at Close; reads always see them. Used from
// the UI thread only.

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <random>

#include "settings/IniFile.h"

namespace orve {

inline constexpr char kMusicBaseFileName[] = "base.dbm";
// The artist of a file whose artist tag is empty.
inline constexpr char kUnknownArtist[] = "Unknow";

class MusicBase : public QObject {
  Q_OBJECT
 public:
  // Open: the file appDir + name; nothing is read yet.
  explicit MusicBase(const QString& appDir, const QString& name = QString::fromLatin1(kMusicBaseFileName),
                     QObject* parent = nullptr);
  ~MusicBase() override;

  // Registers a file under its tags: an empty artist is "Unknow", an empty
  // title the file's name with its extension. An artist and title already
  // in the base keep their path.
  void AddFile(const QString& path, const QString& artist, const QString& title);

  QStringList Artists();                       // file order
  QStringList Titles(const QString& artist);   // file order
  int TitleCount();                            // over every artist
  // The path of a title; empty when the base does not hold it.
  QString PathOf(const QString& artist, const QString& title);
  // The title leaves the base, and the artist with its last title.
  void Remove(const QString& artist, const QString& title);

  // The whole base in one read, for work that visits every title.
  struct Title {
    QString name;
    QString path;
  };
  struct Artist {
    QString name;
    QList<Title> titles;  // file order
  };
  QList<Artist> Catalogue();

  struct Pick {
    QString artist;
    QString title;
  };
  // One random title: an artist uniformly over the artists, then a title
  // uniformly over its titles. Nothing when the base is empty or the
  // artist has no titles.
  std::optional<Pick> RandomPick(std::mt19937& random);

  // Writes what is pending now. When the file cannot be written, the base
  // keeps what the file holds, says why on stderr and returns false.
  bool Flush();

 signals:
  // The base changed and the change is in the file.
  void Changed();

 private:
  void Written();  // after a change: the save is queued for the next turn of the loop
  void HoldDiskCheckThisTurn();

  IniFile ini_;
  bool flushQueued_ = false;
  bool checkHeld_ = false;
};

// The stored form of a name or path and back (exposed for the tests).
namespace base_text {
enum class Place { Section, Key, Value };
QString Stored(const QString& text, Place place);
QString Read(const QString& stored);
}  // namespace base_text

}  // namespace orve
