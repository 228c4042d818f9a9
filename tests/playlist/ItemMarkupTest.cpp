#include "playlist/ItemMarkup.h"

#include <gtest/gtest.h>

#include "engine/Core.h"

namespace orve {
namespace {

class ItemMarkupTest : public ::testing::Test {
 protected:
  void Add(const QString& title, int seconds) {
    core.Paths.append("/m/" + title);
    core.Titles.append(title);
    core.Durations.append(QString::number(seconds));
    core.Kinds.append("1");
    core.TotalSeconds += seconds;
  }
  TCore core;
};

TEST_F(ItemMarkupTest, RowTextIsExact) {
  Add("Кино - Группа крови", 285);
  Add("a <b> & \"c\"", 3725);
  Add("", 0);
  EXPECT_EQ(ItemMarkup(core, 0, "ffcc00"), "<FONT color=\"#ffcc00\"><B>Кино - Группа крови<BR>4:45</B></FONT>");
  EXPECT_EQ(ItemMarkup(core, 1, "00FF00"), "<FONT color=\"#00FF00\"><B>a <b> & \"c\"<BR>1:02:05</B></FONT>");
  EXPECT_EQ(ItemMarkup(core, 2, "000000"), "<FONT color=\"#000000\"><B><BR>0:00</B></FONT>");
  EXPECT_TRUE(ItemMarkup(core, 0, "ABCDEF").startsWith(CurrentItemPrefix("ABCDEF")));
  EXPECT_EQ(CurrentItemPrefix("ABCDEF").size(), 14 + 6 + 5);
}

TEST_F(ItemMarkupTest, PlaylistTime) {
  EXPECT_EQ(PlaylistTimeText(core, -1), "0:00/0:00");
  Add("a", 185);
  Add("b", 120);
  EXPECT_EQ(PlaylistTimeText(core, -1), "5:05/0:00");
  EXPECT_EQ(PlaylistTimeText(core, 1), "5:05/2:00");
  EXPECT_EQ(PlaylistTimeText(core, 0), "5:05/3:05");
}

}  // namespace
}  // namespace orve
