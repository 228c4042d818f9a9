// Any bytes as the music base (base.dbm), then a file registered in it
// under an artist and title also made of the input. Every name and path
// goes into its stored form and back unchanged; the base lists what it
// counts; a registered file is found under its artist and title unless the
// pair was there before; and what the base saved reads back as it was.
#include <fcntl.h>
#include <unistd.h>

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "library/MusicBase.h"
#include "settings/FileNames.h"

using orve::fuzz::Check;
namespace base_text = orve::base_text;

namespace {

void WriteFile(const std::string& name, std::string_view bytes) {
  const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  Check(fd >= 0);
  Check(write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
  close(fd);
}

void CheckStoredForms(const QString& text) {
  for (const auto place : {base_text::Place::Section, base_text::Place::Key, base_text::Place::Value}) {
    const QString stored = base_text::Stored(text, place);
    Check(base_text::Read(stored) == text);
    // One line, and nothing that the INI form would trim away.
    Check(!stored.contains(u'\r') && !stored.contains(u'\n') && !stored.contains(QChar(0)));
    Check(stored.trimmed() == stored);
  }
  const QString key = base_text::Stored(text, base_text::Place::Key);
  Check(!key.contains(u'=') && !key.startsWith(u';') && !key.startsWith(u'['));
}

bool SameCatalogue(const QList<orve::MusicBase::Artist>& a, const QList<orve::MusicBase::Artist>& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].titles.size() != b[i].titles.size()) return false;
    for (qsizetype k = 0; k < a[i].titles.size(); ++k) {
      if (a[i].titles[k].name != b[i].titles[k].name || a[i].titles[k].path != b[i].titles[k].path) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static orve::fuzz::ScratchDir scratch;
  const QString folder = QString::fromStdString(scratch.Path());
  orve::fuzz::Pieces pieces(orve::fuzz::Bytes(data, size));
  // A path as the file system names it (bytes that are not UTF-8 included),
  // an artist and a title as the tags give them.
  const std::string_view pathBytes = pieces.Next();
  const QString path = orve::DecodeFileName(QByteArrayView(pathBytes.data(), qsizetype(pathBytes.size())));
  const QString artist = QString::fromUtf8(pieces.Next());
  const QString title = QString::fromUtf8(pieces.Next());
  WriteFile(scratch.Path() + orve::kMusicBaseFileName, pieces.Rest());
  for (const QString& text : {path, artist, title}) CheckStoredForms(text);

  orve::MusicBase base(folder);
  const QList<orve::MusicBase::Artist> catalogue = base.Catalogue();
  const QStringList artists = base.Artists();
  Check(artists.size() == catalogue.size());
  int titles = 0;
  for (qsizetype i = 0; i < catalogue.size(); ++i) {
    Check(artists[i] == catalogue[i].name);
    titles += static_cast<int>(catalogue[i].titles.size());
  }
  Check(base.TitleCount() == titles);

  if (artist.trimmed().isEmpty() || title.trimmed().isEmpty()) return 0;
  const QString before = base.PathOf(artist, title);
  base.AddFile(path, artist, title);
  const QString after = base.PathOf(artist, title);
  Check(after == before || (before.isEmpty() && after == path));
  Check(base.Flush());
  orve::MusicBase again(folder);
  Check(SameCatalogue(again.Catalogue(), base.Catalogue()));
  Check(again.PathOf(artist, title) == after);
  return 0;
}
