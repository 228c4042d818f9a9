#pragma once
// The INI text of config.ini and base.dbm held in memory, line by line, so
// that rewriting it keeps everything a user wrote by hand: the order of
// sections and keys, blank lines and comment lines.
//
// Rules: section and key names match without regard to letter case; a
// changed key is replaced in place; a new key goes after the last key line
// of its section; a new section goes at the end of the text. When a section
// name appears twice, the first one is the one that is read and written.
// A line is a section header when it starts with "[" and nothing but blanks
// follows its last "]"; a line starting with ";" is a comment; any other line
// with "=" holds a key (names and values are trimmed of blanks).

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace orve {

class IniDocument {
 public:
  static IniDocument Parse(const QString& text);
  // UTF-8 text with CR LF after every line.
  QByteArray Serialize() const;

  std::optional<QString> Value(const QString& section, const QString& key) const;
  // Line breaks inside names and values become blanks: one value, one line.
  void SetValue(const QString& section, const QString& key, const QString& value);
  bool EraseSection(const QString& section);  // every section of that name; true when changed
  bool DeleteKey(const QString& section, const QString& key);  // true when changed

  QStringList Sections() const;                  // file order, each name once
  QStringList Keys(const QString& section) const;  // file order
  // The keys with their values, in file order (one read for a whole section).
  QList<std::pair<QString, QString>> Entries(const QString& section) const;
  bool SectionExists(const QString& section) const;  // holds at least one key
  bool KeyExists(const QString& section, const QString& key) const;

 private:
  struct Line {
    QString text;   // the line as it stands in the file
    QString key;    // empty for lines that hold no key
    QString value;
  };
  struct Section {
    QString name;            // as written; empty for the lines before the first header
    QString header;          // the header line as it stands; empty for the preamble
    std::vector<Line> lines;
    mutable QHash<QString, int> keyIndex;  // folded key -> index in lines
    mutable bool indexValid = false;
    int FindKey(const QString& foldedKey) const;
  };

  Section* FindSection(const QString& name);
  const Section* FindSection(const QString& name) const;
  void RebuildSectionIndex();

  std::vector<Section> sections_{Section{}};  // sections_[0] is the preamble
  QHash<QString, int> sectionIndex_;           // folded name -> first section
};

}  // namespace orve
