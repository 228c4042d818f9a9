#include "playlist/TitleFilter.h"

namespace orve {
namespace {

// Folds a-z only: the search has always treated other letters as distinct,
// so "Б" does not find "б".
QString AsciiUpper(QString text) {
  for (QChar& c : text) {
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - ('a' - 'A'));
  }
  return text;
}

}  // namespace

QList<int> FilterTitles(const QStringList& titles, const QString& text) {
  QList<int> found;
  const QString wanted = AsciiUpper(text);
  for (int i = 0; i < titles.size(); ++i) {
    if (wanted.isEmpty() || AsciiUpper(titles[i]).contains(wanted, Qt::CaseSensitive)) found.append(i);
  }
  return found;
}

}  // namespace orve
