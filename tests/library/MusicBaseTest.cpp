// The music base file: what AddFile stores and how, names the INI form
// cannot hold as they are, older files, removal and the random pick.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <cmath>
#include <map>

#include "library/MusicBase.h"
#include "settings/FileNames.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

namespace orve::test {
namespace {

class MusicBaseTest : public ::testing::Test {
 protected:
  QString Dir() const { return home.path() + "/"; }
  QByteArray File() const { return ReadAll(home.file("base.dbm")); }
  TempDir home;
};

TEST_F(MusicBaseTest, FilesAreStoredByArtistAndTitle) {
  MusicBase base(Dir());
  QSignalSpy changed(&base, &MusicBase::Changed);
  base.AddFile("/music/a.mp3", "Кино", "Группа крови");
  base.AddFile("/music/b.mp3", "Кино", "Звезда по имени Солнце");
  base.AddFile("/music/c.ogg", "", "");       // no tags: "Unknow" and the file's name
  base.AddFile("/music/d.mp3", "КИНО", "группа КРОВИ");  // the same title in other letters: the first stays
  EXPECT_TRUE(File().isEmpty());  // collected, not written one by one
  ASSERT_TRUE(changed.wait(5000));
  EXPECT_EQ(changed.size(), 1);
  EXPECT_EQ(File(), QByteArray("[Кино]\r\nГруппа крови=/music/a.mp3\r\nЗвезда по имени Солнце=/music/b.mp3\r\n"
                               "[Unknow]\r\nc.ogg=/music/c.ogg\r\n"));
  EXPECT_EQ(base.Artists(), QStringList({"Кино", "Unknow"}));
  EXPECT_EQ(base.TitleCount(), 3);
  EXPECT_EQ(base.PathOf("кино", "ГРУППА КРОВИ"), "/music/a.mp3");
}

TEST_F(MusicBaseTest, RemovingTheLastTitleRemovesTheArtist) {
  MusicBase base(Dir());
  base.AddFile("/m/1.mp3", "A", "One");
  base.AddFile("/m/2.mp3", "A", "Two");
  base.AddFile("/m/3.mp3", "B", "Three");
  base.Remove("A", "One");
  EXPECT_EQ(base.Titles("A"), QStringList({"Two"}));
  base.Remove("b", "three");
  EXPECT_EQ(base.Artists(), QStringList({"A"}));
  EXPECT_TRUE(base.Flush());
  EXPECT_EQ(File(), QByteArray("[A]\r\nTwo=/m/2.mp3\r\n"));
}

// Names the INI form cannot hold as they are come back as they went in.
TEST_F(MusicBaseTest, AnyTextRoundTrips) {
  const std::vector<std::array<QString, 3>> files{
      {"Earth = Wind", "E = mc²", "/m/e=mc2.mp3"},
      {" Leading", "Trailing ", "/m/trailing space .mp3 "},
      {"Guns]N[Roses", "[Not a section]", "/m/g.mp3"},
      {";semicolon", ";Not a comment", "/m/s.mp3"},
      {"Two\nlines", "Tab\tinside\t", "/m/t.mp3"},
      {"100% Pure", "%3D is not an escape here", "/m/%20.mp3"},
      {"Ünïcödé", "\u2003wide space\u2003", "/m/u.mp3"},
      {"Кино", "Windows-1251 file name", DecodeFileName("/m/\xCA\xE8\xED\xEE.mp3")},
  };
  {
    MusicBase base(Dir());
    for (const auto& f : files) base.AddFile(f[2], f[0], f[1]);
  }
  MusicBase again(Dir());
  QStringList artists;
  for (const auto& f : files) {
    artists << f[0];
    EXPECT_EQ(again.Titles(f[0]), QStringList({f[1]})) << f[0].toStdString();
    EXPECT_EQ(again.PathOf(f[0], f[1]), f[2]) << f[1].toStdString();
  }
  EXPECT_EQ(again.Artists(), artists);
  // One line per value: nothing spilled into lines of its own.
  EXPECT_EQ(File().count("\r\n"), 2 * static_cast<int>(files.size()));
}

TEST_F(MusicBaseTest, OlderFilesReadAsTheyStand) {
  home.write("base.dbm", "[AC/DC]\r\nT.N.T.=C:\\Music\\tnt.mp3\r\n[100% Hits]\r\nSong 50%=/m/s.mp3\r\n");
  MusicBase base(Dir());
  EXPECT_EQ(base.Artists(), QStringList({"AC/DC", "100% Hits"}));
  EXPECT_EQ(base.Titles("100% Hits"), QStringList({"Song 50%"}));
  EXPECT_EQ(base.PathOf("AC/DC", "T.N.T."), "C:\\Music\\tnt.mp3");
}

// Uniform over the artists, then over the artist's titles.
TEST_F(MusicBaseTest, TheRandomPickIsUniformByArtistThenTitle) {
  MusicBase base(Dir());
  const std::map<QString, int> titles{{"One", 1}, {"Two", 2}, {"Four", 4}};
  for (const auto& [artist, n] : titles) {
    for (int t = 0; t < n; ++t) base.AddFile(QString("/m/%1%2.mp3").arg(artist).arg(t), artist, QString::number(t));
  }
  std::mt19937 random(20261210);
  std::map<QString, int> byArtist;
  std::map<QString, int> byTitleOfFour;
  constexpr int kPicks = 9000;
  for (int i = 0; i < kPicks; ++i) {
    const auto pick = base.RandomPick(random);
    ASSERT_TRUE(pick.has_value());
    ++byArtist[pick->artist];
    if (pick->artist == "Four") ++byTitleOfFour[pick->title];
  }
  const auto chiSquare = [](const std::map<QString, int>& counts, double expected) {
    double x = 0;
    for (const auto& [_, n] : counts) x += (n - expected) * (n - expected) / expected;
    return x;
  };
  ASSERT_EQ(byArtist.size(), 3u);
  EXPECT_LT(chiSquare(byArtist, kPicks / 3.0), 13.82);  // 2 degrees of freedom, p = 0.001
  ASSERT_EQ(byTitleOfFour.size(), 4u);
  EXPECT_LT(chiSquare(byTitleOfFour, byArtist["Four"] / 4.0), 16.27);  // 3 degrees, p = 0.001
}

TEST_F(MusicBaseTest, AnEmptyBaseHasNothingToPick) {
  MusicBase base(Dir());
  std::mt19937 random(1);
  EXPECT_FALSE(base.RandomPick(random).has_value());
  EXPECT_EQ(base.TitleCount(), 0);
  // A hand-written artist without titles has nothing either.
  home.write("base.dbm", "[Empty]\r\n");
  EXPECT_FALSE(base.RandomPick(random).has_value());
}

}  // namespace
}  // namespace orve::test
