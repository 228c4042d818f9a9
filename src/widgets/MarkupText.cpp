#include "widgets/MarkupText.h"

#include <optional>

namespace orve {

namespace {

constexpr QStringView kFontOpen = u"<FONT color=\"#";
constexpr QStringView kFontClose = u"\">";
constexpr QStringView kRowOpenTail = u"\"><B>";
constexpr QStringView kRowClose = u"</B></FONT>";
constexpr QStringView kBreak = u"<BR>";
constexpr int kHexDigits = 6;

bool StartsWithAt(QStringView text, qsizetype at, QStringView what) {
  return text.mid(at).startsWith(what, Qt::CaseInsensitive);
}

bool IsHexDigit(QChar c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The colour of six hexadecimal digits at `at`, if they are there.
std::optional<QColor> HexColourAt(QStringView text, qsizetype at) {
  if (text.size() - at < kHexDigits) return std::nullopt;
  for (int i = 0; i < kHexDigits; ++i)
    if (!IsHexDigit(text[at + i])) return std::nullopt;
  return QColor::fromString(QString(u'#') + text.mid(at, kHexDigits).toString());
}

// The exact row shape; nothing when the text has another form.
std::optional<MarkupRow> ParseRowShape(QStringView text) {
  if (!text.startsWith(kFontOpen, Qt::CaseInsensitive) || !text.endsWith(kRowClose, Qt::CaseInsensitive))
    return std::nullopt;
  const auto colour = HexColourAt(text, kFontOpen.size());
  const qsizetype titleStart = kFontOpen.size() + kHexDigits + kRowOpenTail.size();
  if (!colour || !StartsWithAt(text, kFontOpen.size() + kHexDigits, kRowOpenTail)) return std::nullopt;
  const qsizetype bodyEnd = text.size() - kRowClose.size();
  if (bodyEnd < titleStart) return std::nullopt;
  const qsizetype br = text.first(bodyEnd).lastIndexOf(kBreak, -1, Qt::CaseInsensitive);
  if (br < titleStart) return std::nullopt;
  MarkupRow row;
  row.lines.push_back({MarkupRun{text.mid(titleStart, br - titleStart).toString(), *colour, true}});
  const qsizetype timeStart = br + kBreak.size();
  row.lines.push_back({MarkupRun{text.mid(timeStart, bodyEnd - timeStart).toString(), *colour, true}});
  return row;
}

// Reads any text tag by tag.
class TagReader {
 public:
  MarkupRow Read(QStringView text) {
    row_.lines.emplace_back();
    for (qsizetype i = 0; i < text.size();) i = text[i] == u'<' ? Tag(text, i) : Text(text, i);
    return std::move(row_);
  }

 private:
  qsizetype Text(QStringView text, qsizetype at) {
    qsizetype end = text.indexOf(u'<', at + 1);
    if (end < 0) end = text.size();
    Append(text.mid(at, end - at));
    return end;
  }

  // Applies the tag at `at` and returns the index after it; a "<" that opens
  // no known tag is text.
  qsizetype Tag(QStringView text, qsizetype at) {
    if (StartsWithAt(text, at, u"<B>")) {
      ++bold_;
      return at + 3;
    }
    if (StartsWithAt(text, at, u"</B>")) {
      bold_ = std::max(0, bold_ - 1);
      return at + 4;
    }
    if (StartsWithAt(text, at, kBreak)) {
      row_.lines.emplace_back();
      return at + kBreak.size();
    }
    if (StartsWithAt(text, at, u"</FONT>")) {
      if (!colours_.empty()) colours_.pop_back();
      return at + 7;
    }
    if (StartsWithAt(text, at, kFontOpen)) {
      const qsizetype hexAt = at + kFontOpen.size();
      const auto colour = HexColourAt(text, hexAt);
      if (colour && StartsWithAt(text, hexAt + kHexDigits, kFontClose)) {
        colours_.push_back(*colour);
        return hexAt + kHexDigits + kFontClose.size();
      }
    }
    Append(text.mid(at, 1));
    return at + 1;
  }

  // Adds text in the current style, joining it to the last run when that
  // has the same style.
  void Append(QStringView piece) {
    MarkupLine& line = row_.lines.back();
    const QColor colour = colours_.empty() ? QColor() : colours_.back();
    const bool bold = bold_ > 0;
    if (!line.empty() && line.back().colour == colour && line.back().bold == bold)
      line.back().text += piece;
    else
      line.push_back(MarkupRun{piece.toString(), colour, bold});
  }

  MarkupRow row_;
  std::vector<QColor> colours_;
  int bold_ = 0;
};

}  // namespace

MarkupRow ParseMarkup(QStringView text) {
  if (auto row = ParseRowShape(text)) return std::move(*row);
  return TagReader().Read(text);
}

QString PlainText(const MarkupLine& line) {
  QString text;
  for (const MarkupRun& run : line) text += run.text;
  return text;
}

}  // namespace orve
