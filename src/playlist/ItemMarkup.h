#pragma once
// The texts the playlist shows about its entries. The row text is a small
// markup that other parts compare, so it is built here and nowhere else.

#include <QString>
#include <cstdint>

namespace orve {

class TCore;

// The duration of entry i in whole seconds (0 for an index out of range).
uint32_t EntrySeconds(const TCore& engine, int i);

// <FONT color="#RRGGBB"><B>title<BR>m:ss</B></FONT> for entry i; titles are
// inserted as they stand.
QString ItemMarkup(const TCore& engine, int i, const QString& colourText);

// The start every row text of the current entry has.
QString CurrentItemPrefix(const QString& currentColourText);

// Total time of the playlist, "/", duration of the selected entry
// ("0:00" when none is selected).
QString PlaylistTimeText(const TCore& engine, int selected);

}  // namespace orve
