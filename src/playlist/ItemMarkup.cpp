#include "playlist/ItemMarkup.h"

#include "engine/Core.h"
#include "engine/TimeText.h"

namespace orve {

uint32_t EntrySeconds(const TCore& engine, int i) {
  if (i < 0 || i >= engine.Durations.size()) return 0;
  return static_cast<uint32_t>(std::max(0, engine.Durations[i].toInt()));
}

QString ItemMarkup(const TCore& engine, int i, const QString& colourText) {
  const QString title = i >= 0 && i < engine.Titles.size() ? engine.Titles[i] : QString();
  return CurrentItemPrefix(colourText) + title + QStringLiteral("<BR>") + TimeText(EntrySeconds(engine, i)) +
         QStringLiteral("</B></FONT>");
}

QString CurrentItemPrefix(const QString& currentColourText) {
  return QStringLiteral("<FONT color=\"#") + currentColourText + QStringLiteral("\"><B>");
}

QString PlaylistTimeText(const TCore& engine, int selected) {
  const uint32_t total = static_cast<uint32_t>(std::max(0, engine.TotalSeconds));
  return TimeText(total) + QLatin1Char('/') + TimeText(EntrySeconds(engine, selected));
}

}  // namespace orve
