// Stream entries in the running program against real servers on 127.0.0.1:
// the suite's ICY server for titles and faults, icecast2 when scripts/test
// has started it. The titles follow the station, the list row only changes
// when the title does, and why a station is silent shows in the tray's
// tooltip.
#include <cstdlib>
#include <memory>

#include <QListWidget>

#include "NetTestSupport.h"
#include "PlaylistFixture.h"
#include "widgets/ElidedLabel.h"
#include "app/NowPlayingWindow.h"
#include "app/StartEntry.h"
#include "app/TrayIcon.h"
#include "library/RadioBaseWindow.h"
#include "playlist/ItemMarkup.h"

namespace orve::test {
namespace {

using audio::test::IcyServer;
using audio::test::RunCommand;

class RadioTest : public PlaylistFixture {
 protected:
  void Play(const QString& url) {
    pls->AddStream(url);
    StartRow(static_cast<int>(engine->Paths.size()) - 1);
  }
  QString Title() const { return engine->Titles.value(engine->CurrentIndex); }
  // The suite's ICY server, then the program.
  void StartWithServer() {
    server = std::make_unique<IcyServer>();
    ASSERT_TRUE(server->Running());
    Start();
  }
  QString Url(const std::string& pathAndQuery) const { return QString::fromStdString(server->Url(pathAndQuery)); }

  std::unique_ptr<IcyServer> server;
};

// A station of the radio base is appended under its name, not started; chosen
// again, the entry already there starts and plays.
TEST_F(RadioTest, TheRadioBaseAddsThenStartsAStation) {
  server = std::make_unique<IcyServer>();
  ASSERT_TRUE(server->Running());
  const QString url = Url("/stream.mp3");
  home.write("rbase.dbm", (url + "\r\nТестовое радио\r\n").toUtf8());
  Start();
  RadioBaseWindow* radio = app.Windows().radioBase;
  ASSERT_NE(radio, nullptr);
  QListWidget* list = radio->ControlsForTest().stationList;
  ASSERT_EQ(list->count(), 1);
  list->setCurrentRow(0);
  radio->ChooseSelected();
  ASSERT_EQ(engine->Paths, QStringList({url}));
  EXPECT_EQ(engine->Titles.value(0), "Тестовое радио");
  EXPECT_EQ(engine->Kinds.value(0), "4");
  EXPECT_EQ(engine->CurrentIndex, -1);
  EXPECT_EQ(engine->PlayState, kNothingLoaded);
  radio->ChooseSelected();
  EXPECT_EQ(engine->Paths.size(), 1);
  EXPECT_EQ(engine->CurrentIndex, 0);
  EXPECT_EQ(engine->PlayState, kPlaying);
  // It is heard.
  ASSERT_TRUE(WaitUntil([&] { return engine->Library()->IsActive(engine->Handle()) == audio::ActiveState::kPlaying; }, 30000));
}

TEST_F(RadioTest, TheTitleFollowsTheStation) {
  StartWithServer();
  const QString url = Url("/stream.mp3?meta=counter");
  Play(url);
  EXPECT_EQ(engine->PlayState, kPlaying);
  EXPECT_EQ(mainUi().timeLabel->text(), "0:00/0:00");
  // The 5-second refresh takes the title out of the metadata ("Song N").
  ASSERT_TRUE(WaitUntil([&] { return Title().startsWith("Song "); }, 30000));
  const QString first = Title();
  EXPECT_EQ(pls->RowText(0), ItemMarkup(*engine, 0, app.State().Scheme.CurrentColorText));
  EXPECT_EQ(app.State().NowArtist, first);
  // The now-playing window's middle line takes the station's title.
  EXPECT_EQ(app.Windows().nowPlaying->ControlsForTest().artistLabel->text(), first);
  ASSERT_TRUE(WaitUntil([&] { return Title() != first; }, 30000));
  EXPECT_TRUE(pls->RowText(0).contains(Title()));
  EXPECT_EQ(app.Windows().nowPlaying->ControlsForTest().artistLabel->text(), Title());
  EXPECT_EQ(engine->Paths.first(), url);  // the address stays
}

TEST_F(RadioTest, TitlesInWindows1251AndWithoutSemicolon) {
  StartWithServer();
  Play(Url("/stream.mp3?meta=cp1251&title=%D0%9F%D1%80%D0%B8%D0%B2%D0%B5%D1%82"));
  EXPECT_EQ_SOON(Title(), QString("Привет"), 30000);
  pls->ClearPlaylist();
  // The title ends at the quote before the ";" that closes the field; a
  // server that leaves out the ";" still gives its title.
  Play(Url("/stream.mp3?meta=nosemi"));
  EXPECT_EQ_SOON(Title(), QString("No semicolon"), 30000);
  pls->ClearPlaylist();
  Play(Url("/stream.mp3?title=Earth%3B%20Wind%20%26%20Fire%20-%20September"));
  EXPECT_EQ_SOON(Title(), QString("Earth; Wind & Fire - September"), 30000);
}

// Files served over HTTP end like local files, and auto-advance follows
// the repeat mode; a station (a live stream) never ends.
TEST_F(RadioTest, AFileServedOverHttpEndsAndTheNextStarts) {
  StartWithServer();
  app.State().RepeatMode = RepeatModes::All;
  pls->AddStream(Url("/file.mp3?seconds=1"));
  pls->AddStream(Url("/stream.mp3"));
  StartRow(0);
  EXPECT_EQ_SOON(engine->CurrentIndex, 1, 30000);
  EXPECT_EQ(engine->PlayState, kPlaying);
}

// A station that sends an empty StreamTitle keeps the title its entry had:
// its address before any, the last title after one.
TEST_F(RadioTest, AnEmptyStreamTitleKeepsTheLastTitle) {
  StartWithServer();
  const QString url = Url("/stream.mp3?title=");
  Play(url);
  ASSERT_TRUE(WaitUntil([&] { return engine->Library()->GetMetadata(engine->Handle()).starts_with("StreamTitle='';"); },
                        30000));
  StreamTitleRefresh(app);  // what the 5-second timer runs
  EXPECT_EQ(Title(), url);
  EXPECT_TRUE(pls->RowText(0).contains(url));
}

TEST_F(RadioTest, ASilentStationSaysWhyInTheTooltip) {
  StartWithServer();
  const QString url = Url("/missing");
  Play(url);
  EXPECT_EQ_SOON(app.Windows().tray->ToolTip(), "Play: " + url + "\nОшибка 404", 30000);
  EXPECT_EQ(mainUi().bitRateLabel->text(), "Ошибка 404");  // also seen without a tray
  EXPECT_EQ(engine->PlayState, kPlaying);  // silence, nothing else happens
  pls->ClearPlaylist();
  EXPECT_EQ(app.Windows().tray->ToolTip(), QString());
  EXPECT_EQ(mainUi().bitRateLabel->text(), QString());
}

TEST_F(RadioTest, IcecastTitleChangesReachTheList) {
  const char* port = std::getenv("ORVE_TEST_ICECAST_PORT");
  const char* admin = std::getenv("ORVE_TEST_ICECAST_ADMIN");
  if (port == nullptr || admin == nullptr) GTEST_SKIP() << "no icecast2: scripts/test starts it";
  const std::string base = std::string("http://127.0.0.1:") + port;
  auto setTitle = [&](const std::string& song) {
    return RunCommand("curl -sf -o /dev/null -u '" + std::string(admin) + "' '" + base +
                      "/admin/metadata?mount=/stream.mp3&mode=updinfo&song=" + song + "'");
  };
  Start();
  Play(QString::fromStdString(base + "/stream.mp3"));
  ASSERT_TRUE(setTitle("Station%20One"));
  EXPECT_EQ_SOON(Title(), QString("Station One"), 60000);
  ASSERT_TRUE(setTitle("Station%20Two"));
  EXPECT_EQ_SOON(Title(), QString("Station Two"), 60000);
  EXPECT_TRUE(pls->RowText(0).contains("Station Two"));
}

}  // namespace
}  // namespace orve::test
