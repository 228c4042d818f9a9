#include "library/MusicBase.h"

#include <QTimer>
#include <array>

#include "settings/FileError.h"
#include "settings/FileNames.h"

namespace orve {

namespace base_text {
namespace {

struct Escape {
  char16_t c;
  const char* code;
};
// Every %XX the stored form uses; any other "%" is a plain percent sign.
constexpr std::array<Escape, 8> kEscapes{{{u'%', "25"},
                                          {u'=', "3D"},
                                          {u';', "3B"},
                                          {u'[', "5B"},
                                          {u'\r', "0D"},
                                          {u'\n', "0A"},
                                          {u' ', "20"},
                                          {u'\t', "09"}}};

bool IsHex(QChar c) { return c.isDigit() || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }

// The character an escape at `at` (just after "%") stands for, and its length.
std::optional<std::pair<QChar, int>> EscapeAt(const QString& s, qsizetype at) {
  const QStringView rest = QStringView(s).mid(at);
  for (const Escape& e : kEscapes) {
    if (rest.startsWith(QLatin1String(e.code), Qt::CaseInsensitive)) return std::pair{QChar(e.c), 2};
  }
  if (rest.size() >= 5 && rest[0] == u'u' && IsHex(rest[1]) && IsHex(rest[2]) && IsHex(rest[3]) && IsHex(rest[4])) {
    return std::pair{QChar(static_cast<char16_t>(rest.mid(1, 4).toUShort(nullptr, 16))), 5};
  }
  return std::nullopt;
}

// Half of a surrogate pair standing alone: a byte of a file name that is
// not UTF-8 (settings/FileNames.h). UTF-8 has no form for it.
bool IsLoneSurrogate(const QString& s, qsizetype i) {
  if (s[i].isHighSurrogate()) return i + 1 == s.size() || !s[i + 1].isLowSurrogate();
  if (s[i].isLowSurrogate()) return i == 0 || !s[i - 1].isHighSurrogate();
  return false;
}

QString Escaped(QChar c) {
  for (const Escape& e : kEscapes) {
    if (e.c == c.unicode()) return QLatin1Char('%') + QLatin1String(e.code);
  }
  return QStringLiteral("%u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
}

}  // namespace

QString Stored(const QString& text, Place place) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    const bool edge = i == 0 || i == text.size() - 1;
    const bool escape = (c == u'%' && EscapeAt(text, i + 1)) || c == u'\r' || c == u'\n' || c == QChar(0) ||
                        IsLoneSurrogate(text, i) || (edge && c.isSpace()) || (place == Place::Key && c == u'=') ||
                        (place == Place::Key && i == 0 && (c == u';' || c == u'['));
    out += escape ? Escaped(c) : QString(c);
  }
  return out;
}

QString Read(const QString& stored) {
  if (!stored.contains(u'%')) return stored;
  QString out;
  out.reserve(stored.size());
  for (qsizetype i = 0; i < stored.size(); ++i) {
    if (stored[i] == u'%') {
      if (const auto e = EscapeAt(stored, i + 1)) {
        out += e->first;
        i += e->second;
        continue;
      }
    }
    out += stored[i];
  }
  return out;
}

}  // namespace base_text

namespace {

using base_text::Place;

QString SectionOf(const QString& artist) { return base_text::Stored(artist, Place::Section); }
QString KeyOf(const QString& title) { return base_text::Stored(title, Place::Key); }

}  // namespace

MusicBase::MusicBase(const QString& appDir, const QString& name, QObject* parent)
    : QObject(parent), ini_(appDir + name) {
  ini_.SetDeferredWrites(true);
}

MusicBase::~MusicBase() { Flush(); }

void MusicBase::AddFile(const QString& path, const QString& artist, const QString& title) {
  const QString a = artist.trimmed().isEmpty() ? QString::fromLatin1(kUnknownArtist) : artist;
  QString t = title;
  if (t.trimmed().isEmpty()) t = DisplayFileName(path.mid(path.lastIndexOf(u'/') + 1));
  const QString section = SectionOf(a);
  const QString key = KeyOf(t);
  HoldDiskCheckThisTurn();
  if (ini_.ValueExists(section, key)) return;  // the first file keeps the entry
  ini_.WriteString(section, key, base_text::Stored(path, Place::Value));
  Written();
}

QStringList MusicBase::Artists() {
  QStringList artists = ini_.ReadSections();
  for (QString& a : artists) a = base_text::Read(a);
  return artists;
}

QStringList MusicBase::Titles(const QString& artist) {
  QStringList titles = ini_.ReadSection(SectionOf(artist));
  for (QString& t : titles) t = base_text::Read(t);
  return titles;
}

int MusicBase::TitleCount() {
  int count = 0;
  for (const QString& section : ini_.ReadSections()) count += static_cast<int>(ini_.ReadSection(section).size());
  return count;
}

QList<MusicBase::Artist> MusicBase::Catalogue() {
  QList<Artist> artists;
  for (const QString& section : ini_.ReadSections()) {
    Artist artist{base_text::Read(section), {}};
    for (const auto& [key, value] : ini_.ReadSectionValues(section)) {
      artist.titles.append({base_text::Read(key), base_text::Read(value)});
    }
    artists.append(std::move(artist));
  }
  return artists;
}

QString MusicBase::PathOf(const QString& artist, const QString& title) {
  return base_text::Read(ini_.ReadString(SectionOf(artist), KeyOf(title), {}));
}

void MusicBase::Remove(const QString& artist, const QString& title) {
  const QString section = SectionOf(artist);
  ini_.DeleteKey(section, KeyOf(title));
  if (ini_.ReadSection(section).isEmpty()) ini_.EraseSection(section);
  Written();
}

std::optional<MusicBase::Pick> MusicBase::RandomPick(std::mt19937& random) {
  const QStringList artists = Artists();
  if (artists.isEmpty()) return std::nullopt;
  std::uniform_int_distribution<qsizetype> anyArtist(0, artists.size() - 1);
  const QString artist = artists[anyArtist(random)];
  const QStringList titles = Titles(artist);
  if (titles.isEmpty()) return std::nullopt;
  std::uniform_int_distribution<qsizetype> anyTitle(0, titles.size() - 1);
  return Pick{artist, titles[anyTitle(random)]};
}

// A large add registers thousands of files in one turn of the event loop:
// the file is looked at on disk once for them all, not once each.
void MusicBase::HoldDiskCheckThisTurn() {
  if (checkHeld_) return;
  checkHeld_ = true;
  ini_.HoldDiskCheck(true);
  QTimer::singleShot(0, this, [this] {
    checkHeld_ = false;
    ini_.HoldDiskCheck(false);
  });
}

void MusicBase::Written() {
  if (flushQueued_) return;
  flushQueued_ = true;
  QTimer::singleShot(0, this, &MusicBase::Flush);
}

bool MusicBase::Flush() {
  if (!flushQueued_) return true;
  flushQueued_ = false;
  // A base that cannot be written must not stop the program: it keeps what
  // the file holds, and the failure is said on stderr.
  try {
    ini_.UpdateFile();
  } catch (const FileError& e) {
    qWarning("%s", e.what());
    return false;
  }
  emit Changed();
  return true;
}

}  // namespace orve
