#include "playlist/TitleFilter.h"

#include <gtest/gtest.h>

namespace orve {
namespace {

struct FilterCase {
  const char* text;
  QList<int> found;
};

TEST(TitleFilterTest, FindsSubstringsFoldingOnlyAsciiLetters) {
  const QStringList titles{"Abba - SOS", "abc", "Кино - Группа крови", "Бёрд", "бобёр", "Café"};
  const FilterCase cases[] = {
      {"", {0, 1, 2, 3, 4, 5}}, // empty text: every title
      {"ab", {0, 1}},          // ASCII folds both ways
      {"AB", {0, 1}},
      {"sOs", {0}},
      {"- ", {0, 2}},          // anywhere in the title, punctuation as it is
      {"Б", {3}},              // Cyrillic never folds: not "бобёр"...
      {"б", {4}},              // ...and not "Бёрд"
      {"г", {}},               // "Группа" has a capital
      {"Группа", {2}},
      {"CAFé", {5}},           // only a-z fold, not accented Latin
      {"CAFÉ", {}},
      {"zzz", {}},             // no match: nothing
      {"abc ", {}},
  };
  for (const FilterCase& c : cases) {
    EXPECT_EQ(FilterTitles(titles, QString::fromUtf8(c.text)), c.found) << c.text;
  }
}

TEST(TitleFilterTest, EmptyPlaylistFindsNothing) {
  EXPECT_TRUE(FilterTitles({}, "").isEmpty());
  EXPECT_TRUE(FilterTitles({}, "a").isEmpty());
}

}  // namespace
}  // namespace orve
