// Any bytes as the markup of a playlist row, and as the parts of a row the
// playlist builds (the scheme's colour text, a title, a duration). Every
// text parses into lines whose texts are taken from it in order; outside
// the exact row shape every "<BR>" starts a line; and a row built with a
// colour of six hexadecimal digits gives back its title and time exactly,
// whatever the title holds.
#include <QString>
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "engine/Core.h"
#include "engine/TimeText.h"
#include "playlist/ItemMarkup.h"
#include "widgets/MarkupText.h"

using orve::fuzz::Check;

namespace {

constexpr QStringView kBreak = u"<BR>";

QString Text(std::string_view bytes) { return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())); }

// `part` occurs in `text` at or after `at`, as a subsequence; `at` moves past it.
bool TakeSubsequence(const QString& text, const QString& part, qsizetype& at) {
  for (const QChar c : part) {
    while (at < text.size() && text[at] != c) ++at;
    if (at == text.size()) return false;
    ++at;
  }
  return true;
}

void CheckParse(const QString& text) {
  const orve::MarkupRow row = orve::ParseMarkup(text);
  Check(!row.lines.empty());
  qsizetype at = 0;
  for (const orve::MarkupLine& line : row.lines) Check(TakeSubsequence(text, orve::PlainText(line), at));
  if (text.startsWith(u"<FONT color=\"#", Qt::CaseInsensitive)) return;  // may have the row shape

  Check(static_cast<qsizetype>(row.lines.size()) == text.count(kBreak, Qt::CaseInsensitive) + 1);
  for (const orve::MarkupLine& line : row.lines) {
    for (size_t i = 0; i < line.size(); ++i) {
      Check(!line[i].text.isEmpty());
      if (i > 0) Check(line[i].colour != line[i - 1].colour || line[i].bold != line[i - 1].bold);
    }
  }
}

bool IsHexColour(const QString& text) {
  if (text.size() != 6) return false;
  for (const QChar c : text) {
    if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orve::fuzz::Pieces pieces(orve::fuzz::Bytes(data, size));
  const QString colour = Text(pieces.Next());
  const QString title = Text(pieces.Next());
  const QString duration = QString::fromLatin1(pieces.Next());
  const QString total = QString::fromLatin1(pieces.Next());
  CheckParse(Text(pieces.Rest()));

  static orve::TCore engine;
  engine.Titles = {title};
  engine.Durations = {duration};
  engine.TotalSeconds = total.toInt();
  const uint32_t seconds = orve::EntrySeconds(engine, 0);
  Check(orve::EntrySeconds(engine, -1) == 0 && orve::EntrySeconds(engine, 1) == 0);
  Check(orve::PlaylistTimeText(engine, 0) ==
        orve::TimeText(static_cast<uint32_t>(std::max(0, engine.TotalSeconds))) + u'/' + orve::TimeText(seconds));

  const QString markup = orve::ItemMarkup(engine, 0, colour);
  Check(markup.startsWith(orve::CurrentItemPrefix(colour)));
  CheckParse(markup);
  CheckParse(orve::ItemMarkup(engine, 1, colour));
  if (IsHexColour(colour)) {
    const QColor expected = QColor::fromString(QString(u'#') + colour);
    const orve::MarkupRow row = orve::ParseMarkup(markup);
    Check(row.lines.size() == 2);
    Check(row.lines[0] == orve::MarkupLine{{title, expected, true}});
    Check(row.lines[1] == orve::MarkupLine{{orve::TimeText(seconds), expected, true}});
  }
  return 0;
}
