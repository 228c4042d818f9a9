#include "playlist/PlaylistFiles.h"

#include <gtest/gtest.h>

#include <QFile>

#include "engine/Core.h"
#include "settings/LineFile.h"
#include "support/TempDir.h"

namespace orve {
namespace {

const QString kFixtures = QStringLiteral(ORVE_FIXTURES_DIR "/audio/");

class PlaylistFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("ORVE_AUDIO_OUTPUT", "null");
    core.Init(home.path() + "/");
  }
  // What the adder does with the items, one after the other.
  void AddAll(const QList<EntryAdder::Item>& list) {
    for (const EntryAdder::Item& item : list) {
      if (item.stream) {
        core.AddStreamEntry(item.path, item.path);
      } else {
        ASSERT_TRUE(core.AddEntry(item.path));
      }
    }
  }
  void AddFiles(const QStringList& paths) {
    for (const QString& p : paths) ASSERT_TRUE(core.AddEntry(p));
  }
  test::TempDir home;
  TCore core;
};

TEST_F(PlaylistFilesTest, DefaultPlaylistKeepsFilesAndStreamsDropsTheRest) {
  const QString file = kFixtures + "cbr.mp3";
  const QString pld = home.write("Default.pld", (file + "\r\n" + home.file("gone.mp3") +
                                                 "\nhttp://127.0.0.1:8000/radio\r\r\n" + file + " \r\n")
                                                    .toUtf8());
  AddAll(DefaultPlaylistItems(ReadLineFile(pld)));
  EXPECT_EQ(core.Paths, QStringList({file, "http://127.0.0.1:8000/radio"}));
  EXPECT_EQ(core.Titles, QStringList({"Исполнитель - Песня", "http://127.0.0.1:8000/radio"}));
  EXPECT_EQ(core.Kinds, QStringList({"1", "4"}));
  EXPECT_EQ(core.Durations, QStringList({"2", "0"}));
  EXPECT_EQ(core.TotalSeconds, 2);
  WriteLineFile(pld, core.Paths);
  EXPECT_EQ(test::ReadAll(pld), (file + "\r\nhttp://127.0.0.1:8000/radio\r\n").toUtf8());
}

TEST_F(PlaylistFilesTest, StreamLinesDoNotChangeTheCurrentEntry) {
  AddAll(DefaultPlaylistItems({"HTTP://127.0.0.1/a", "https://127.0.0.1/b"}));
  EXPECT_EQ(core.CurrentIndex, -1);
  EXPECT_EQ(core.Kinds, QStringList({"4", "4"}));
}

TEST_F(PlaylistFilesTest, M3uReadingRule) {
  const QString file = kFixtures + "cbr.mp3";
  QFile::copy(kFixtures + "sine_s16.wav", home.file("relative.wav"));
  const QStringList lines{"#EXTM3U",
                          "#EXTINF:2,Title From The List",
                          file,
                          "#extinf:2,lower case is not skipped but names no file",
                          "",
                          "http://127.0.0.1:8000/radio",
                          "relative.wav",  // not resolved against the list's folder
                          home.file("gone.mp3"),
                          kFixtures + "wav_s16_mono.wav"};
  AddFiles(M3uPaths(lines));
  EXPECT_EQ(core.Paths, QStringList({file, kFixtures + "wav_s16_mono.wav"}));
  EXPECT_EQ(core.Titles.first(), "Исполнитель - Песня");  // from the tags, not the #EXTINF line
}

TEST_F(PlaylistFilesTest, PlsReadingRule) {
  const QString file = kFixtures + "cbr.mp3";
  const QStringList lines{"[playlist]",
                          "NumberOfEntries=5",
                          "File1=http://127.0.0.1:8000/radio",
                          "Title1=Radio",
                          "Length1=-1",
                          " FILE2 = " + file,
                          "File3=" + home.file("gone.mp3"),
                          "FileX=" + file,  // not an entry key
                          "File=" + file,
                          "File5=",
                          "File4=HTTPS://127.0.0.1/b",
                          "Version=2"};
  EXPECT_EQ(PlsEntries(lines), QStringList({"http://127.0.0.1:8000/radio", file, "HTTPS://127.0.0.1/b"}));
}

TEST_F(PlaylistFilesTest, PlaylistFileNames) {
  for (const char* name : {"a.m3u", "B.M3U", "c.m3u8", "d.PLS", "/x/.pls"}) EXPECT_TRUE(IsPlaylistFileName(name)) << name;
  for (const char* name : {"a.mp3", "m3u", "a.m3u.mp3", "a.pld", "http://h/x.plsx"}) {
    EXPECT_FALSE(IsPlaylistFileName(name)) << name;
  }
}

TEST_F(PlaylistFilesTest, M3uWriting) {
  const QString name = home.file("list.m3u");
  WriteLineFile(name, M3uLines({}));
  EXPECT_EQ(test::ReadAll(name), "#EXTM3U\r\n");
  WriteLineFile(name, M3uLines({"/m/Кино.mp3", "http://127.0.0.1/r"}));
  EXPECT_EQ(test::ReadAll(name), QString("#EXTM3U\r\n/m/Кино.mp3\r\nhttp://127.0.0.1/r\r\n").toUtf8());
}

}  // namespace
}  // namespace orve
