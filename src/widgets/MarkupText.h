#pragma once
// The small markup of the playlist rows:
//   <FONT color="#RRGGBB"><B>title<BR>time</B></FONT>
// Only these exact tags are markup, in any letter case: <FONT color="#xxxxxx">
// (six hexadecimal digits), </FONT>, <B>, </B>, <BR>. Everything else,
// a lone "<" or a tag with other spelling included, is plain text.
//
// Titles go into the row text unescaped, so a title may itself contain
// "<b>" or "<BR>". A text of the exact row shape is therefore split by its
// fixed frame, not by the tags inside: the title is everything between the
// opening "<FONT ...><B>" and the last "<BR>", shown exactly as it stands.
// Other texts are read tag by tag.

#include <QColor>
#include <QString>
#include <QStringView>
#include <vector>

namespace orve {

struct MarkupRun {
  QString text;
  QColor colour;  // invalid: the list's own text colour
  bool bold = false;

  bool operator==(const MarkupRun&) const = default;
};

// One line of a row; a row has at least one line (empty for an empty text).
using MarkupLine = std::vector<MarkupRun>;

struct MarkupRow {
  std::vector<MarkupLine> lines;
};

MarkupRow ParseMarkup(QStringView text);

// The plain text of a line, runs joined.
QString PlainText(const MarkupLine& line);

}  // namespace orve
