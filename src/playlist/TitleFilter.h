#pragma once
// The search window's filter: which playlist entries a search text finds.

#include <QList>
#include <QString>
#include <QStringList>

namespace orve {

// Indices of the titles that contain `text` anywhere, in playlist order;
// every index when `text` is empty. Only the ASCII letters a-z are folded
// to upper case before comparing; every other character, Cyrillic
// included, must match exactly.
QList<int> FilterTitles(const QStringList& titles, const QString& text);

}  // namespace orve
