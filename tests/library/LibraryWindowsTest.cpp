// The music base and radio base windows over real files: the lists and the
// caption, what a chosen title or station asks of the playlist, titles
// whose files are gone, and the random picks' ends.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include "library/MusicBase.h"
#include "library/MusicBaseWindow.h"
#include "library/RadioBaseWindow.h"
#include "session/AppState.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

namespace orve::test {
namespace {

class MusicBaseWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state.AppDir = home.path() + "/";
    state.Scheme = BuiltInColourScheme();
    window = std::make_unique<MusicBaseWindow>(state, base);
    window->SeedRandom(7);
    // The playlist's part, as the application connects it: the path joins the lists.
    QObject::connect(window.get(), &MusicBaseWindow::AppendRequested, [this](const QString& path, bool) {
      state.Engine->Paths.append(path);
    });
  }
  // A file that exists, registered under artist and title.
  QString Add(const QString& artist, const QString& title) {
    const QString path = home.write(QString("%1 - %2.mp3").arg(artist, title), "x");
    base.AddFile(path, artist, title);
    return path;
  }
  QStringList Items(const QListWidget* list) const {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
  }
  void Select(const QString& artist, const QString& title = {}) {
    const auto ui = window->ControlsForTest();
    ui.artistList->setCurrentRow(static_cast<int>(Items(ui.artistList).indexOf(artist)));
    if (!title.isEmpty()) ui.titleList->setCurrentRow(static_cast<int>(Items(ui.titleList).indexOf(title)));
  }

  TempDir home;
  AppState state;
  MusicBase base{home.path() + "/"};
  std::unique_ptr<MusicBaseWindow> window;
};

TEST_F(MusicBaseWindowTest, ListsAndCaption) {
  window->Reload();
  EXPECT_EQ(window->windowTitle(), "Музыкальная база (Исполнителей:0/Песен:0)");
  Add("zebra", "b");
  Add("Ария", "Улица роз");
  Add("Ария", "Беспечный ангел");
  Add("alpha", "a");
  window->Reload();
  EXPECT_EQ(window->windowTitle(), "Музыкальная база (Исполнителей:3/Песен:4)");
  const auto ui = window->ControlsForTest();
  EXPECT_EQ(Items(ui.artistList), QStringList({"alpha", "zebra", "Ария"}));
  EXPECT_TRUE(Items(ui.titleList).isEmpty());
  Select("Ария");
  EXPECT_EQ(Items(ui.titleList), QStringList({"Беспечный ангел", "Улица роз"}));
}

TEST_F(MusicBaseWindowTest, AChosenTitleIsAddedAndStartedOrStartedWhereItIs) {
  const QString path = Add("A", "One");
  Add("A", "Two");
  window->Reload();
  QSignalSpy append(window.get(), &MusicBaseWindow::AppendRequested);
  QSignalSpy start(window.get(), &MusicBaseWindow::StartRequested);
  Select("A", "One");
  window->PlaySelectedTitle();
  ASSERT_EQ(append.size(), 1);
  EXPECT_EQ(append.at(0).at(0).toString(), path);
  EXPECT_TRUE(append.at(0).at(1).toBool());
  // Again, by releasing Enter: the entry is there now, so it starts.
  state.Engine->Paths.prepend("/elsewhere.mp3");
  QTest::keyClick(window->ControlsForTest().titleList, Qt::Key_Return);
  EXPECT_EQ(append.size(), 1);
  ASSERT_EQ(start.size(), 1);
  EXPECT_EQ(start.at(0).at(0).toInt(), 1);
}

TEST_F(MusicBaseWindowTest, ATitleWhoseFileIsGoneLeavesTheBase) {
  const QString gone = Add("Solo", "Only");
  Add("B", "Stays");
  QFile::remove(gone);
  window->Reload();
  QSignalSpy append(window.get(), &MusicBaseWindow::AppendRequested);
  Select("Solo", "Only");
  window->PlaySelectedTitle();
  EXPECT_TRUE(append.isEmpty());
  EXPECT_EQ(base.Artists(), QStringList({"B"}));
  EXPECT_EQ(window->windowTitle(), "Музыкальная база (Исполнителей:1/Песен:1)");
  EXPECT_EQ(Items(window->ControlsForTest().artistList), QStringList({"B"}));
}

TEST_F(MusicBaseWindowTest, TheRandomTitleIsPlayedOnce) {
  const QString path = Add("A", "One");
  QSignalSpy append(window.get(), &MusicBaseWindow::AppendRequested);
  window->PlayRandomTitle();
  ASSERT_EQ(append.size(), 1);
  EXPECT_EQ(append.at(0).at(0).toString(), path);
  EXPECT_TRUE(append.at(0).at(1).toBool());
  // An empty base: nothing.
  base.Remove("A", "One");
  window->PlayRandomTitle();
  EXPECT_EQ(append.size(), 1);
}

// Dynamic adding appends only what is not in the playlist yet and exists,
// and gives up when nothing can be added.
TEST_F(MusicBaseWindowTest, DynamicAddingEndsWhenNothingCanBeAdded) {
  QSignalSpy append(window.get(), &MusicBaseWindow::AppendRequested);
  EXPECT_FALSE(window->AppendRandomTitle());  // empty base
  QStringList paths;
  for (int a = 0; a < 20; ++a) {
    for (int t = 0; t < 5; ++t) paths << Add(QString("Artist %1").arg(a), QString("Title %1").arg(t));
  }
  QFile::remove(paths[7]);
  for (int i = 0; i < 99; ++i) {
    EXPECT_TRUE(window->AppendRandomTitle()) << i;
    EXPECT_FALSE(append.last().at(1).toBool());  // neither selected nor started
  }
  EXPECT_EQ(state.Engine->Paths.size(), 99);
  EXPECT_FALSE(state.Engine->Paths.contains(paths[7]));
  EXPECT_EQ(state.Engine->Paths.removeDuplicates(), 0);
  // Everything is in the playlist now, and the missing file left the base on the way.
  EXPECT_FALSE(window->AppendRandomTitle());
  EXPECT_EQ(base.TitleCount(), 99);
  EXPECT_EQ(append.size(), 99);
}

TEST(RadioBase, LinesComeInPairs) {
  TempDir home;
  // Five lines: two stations, the fifth ignored; an empty line counts.
  home.write("rbase.dbm", "http://a.example/1\r\nFirst\nhttp://b.example/2\r\rlonely\r\n");
  const QList<Station> stations = ReadRadioBase(home.file("rbase.dbm"));
  ASSERT_EQ(stations.size(), 2);
  EXPECT_EQ(stations[0].url, "http://a.example/1");
  EXPECT_EQ(stations[0].name, "First");
  EXPECT_EQ(stations[1].url, "http://b.example/2");
  EXPECT_EQ(stations[1].name, "");
  EXPECT_TRUE(ReadRadioBase(home.file("missing.dbm")).isEmpty());
}

// The example goes only into a fresh program folder, never over the user's file.
TEST(RadioBase, TheExampleNeverReplacesTheUsersFile) {
  TempDir fresh;
  const QString dir = fresh.path() + "/";
  ASSERT_TRUE(InstallExampleRadioBase(dir));
  const QList<Station> example = ReadRadioBase(dir + "rbase.dbm");
  ASSERT_FALSE(example.isEmpty());
  EXPECT_TRUE(example[0].url.startsWith("http://"));
  EXPECT_TRUE(QFileInfo(dir + "rbase.dbm").isWritable());
  TempDir own;
  own.write("rbase.dbm", "http://mine.example/\r\nMine\r\n");
  ASSERT_TRUE(InstallExampleRadioBase(own.path() + "/"));
  EXPECT_EQ(ReadAll(own.file("rbase.dbm")), "http://mine.example/\r\nMine\r\n");
  TempDir removed;  // a folder that has run before, whose user removed the file
  removed.write("config.ini", "[core]\r\nbuff=1000\r\n");
  ASSERT_TRUE(InstallExampleRadioBase(removed.path() + "/"));
  EXPECT_FALSE(QFile::exists(removed.file("rbase.dbm")));
}

TEST(RadioBase, TheWindowListsNamesAndReportsTheChoice) {
  TempDir home;
  home.write("rbase.dbm", "http://a.example/1\r\nПервое\r\nhttp://b.example/2\r\nSecond\r\n");
  AppState state;
  state.AppDir = home.path() + "/";
  RadioBaseWindow window(state);
  EXPECT_EQ(window.windowTitle(), "База I-net радио");
  QListWidget* list = window.ControlsForTest().stationList;
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(0)->text(), "Первое");
  QSignalSpy chosen(&window, &RadioBaseWindow::StationChosen);
  window.ChooseSelected();  // nothing selected
  EXPECT_TRUE(chosen.isEmpty());
  list->setCurrentRow(1);
  QTest::keyClick(list, Qt::Key_Return);
  ASSERT_EQ(chosen.size(), 1);
  EXPECT_EQ(chosen.at(0).at(0).toString(), "http://b.example/2");
  EXPECT_EQ(chosen.at(0).at(1).toString(), "Second");
}

}  // namespace
}  // namespace orve::test
