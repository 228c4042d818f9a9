// Conversions from the playlist's context menu in the running program:
// the destination slots, progress in the title strip, the menu disabled
// while an encoder runs, the balloon on success and the message on failure.
#include <QDir>
#include <QSignalSpy>

#include "PlaylistFixture.h"
#include "app/TrayIcon.h"
#include "session/AppState.h"

namespace orve::test {
namespace {

class ConversionTest : public PlaylistFixture {
 protected:
  // One destination folder, and cbr.mp3 (tagged, 2 s) in the playlist.
  void StartWithDestination() {
    QDir().mkpath(dest);
    home.write("config.ini", ("[folder]\r\ncount=0\r\n0=" + dest + "\r\n").toUtf8());
    Start();
    Add({kFixtures + "cbr.mp3"});
    pls->show();
    pls->SelectIndex(0);
  }
  QAction* Slot(ConvertFormat format, int i) const {
    return plsUi().folderSlots[static_cast<size_t>(format)][static_cast<size_t>(i)];
  }
  // The context menu opened on row 0, as a user does; whether "Конвертировать" can be chosen.
  bool ConvertItemEnabled() {
    QTest::mouseClick(plsUi().entryList->viewport(), Qt::RightButton, {}, plsUi().entryList->ItemRect(0).center());
    const bool enabled = plsUi().convertMenu->menuAction()->isEnabled();
    plsUi().contextMenu->hide();
    return enabled;
  }
  QString Caption() const { return plsUi().titleCaption->text(); }

  QString dest = home.path() + "/out/";
};

TEST_F(ConversionTest, Mp3FromTheMenuShowsProgressAndEndsWithTheBalloon) {
  StartWithDestination();
  EXPECT_TRUE(Slot(ConvertFormat::kMp3, 0)->isEnabled());
  EXPECT_FALSE(Slot(ConvertFormat::kMp3, 1)->isEnabled());
  QSignalSpy balloons(app.Windows().tray, &TrayIcon::BalloonRequested);
  Slot(ConvertFormat::kMp3, 0)->trigger();
  EXPECT_EQ(app.State().DestFolder, dest);
  EXPECT_TRUE(pls->ConversionBusy());
  EXPECT_TRUE(Caption().startsWith("Конвертация: cbr ")) << Caption().toStdString();
  EXPECT_FALSE(ConvertItemEnabled());
  ASSERT_TRUE(WaitUntil([&] { return !pls->ConversionBusy(); }, 60000));
  EXPECT_TRUE(ConvertItemEnabled());
  EXPECT_EQ(Caption(), "Плэйлист");
  EXPECT_GT(QFileInfo(dest + "cbr.mp3").size(), 10000);
  ASSERT_EQ(balloons.size(), 1);
  EXPECT_EQ(balloons[0][0].toString(), "Encode");
  EXPECT_EQ(balloons[0][1].toString(), "cbr конвертирован.");
}

TEST_F(ConversionTest, WaveRunsBesideAnotherConversionWithoutTheBusyFlag) {
  StartWithDestination();
  Slot(ConvertFormat::kWave, 0)->trigger();
  EXPECT_FALSE(pls->ConversionBusy());
  EXPECT_TRUE(Caption().startsWith("Конвертация: cbr ")) << Caption().toStdString();
  Slot(ConvertFormat::kOgg, 0)->trigger();
  EXPECT_TRUE(pls->ConversionBusy());
  ASSERT_TRUE(WaitUntil([&] { return pls->Conversions().empty(); }, 60000));
  EXPECT_EQ(QFileInfo(dest + "cbr.wav").size(), 44 + 88200 * 4);
  EXPECT_GT(QFileInfo(dest + "cbr.ogg").size(), 5000);
  EXPECT_FALSE(pls->ConversionBusy());
}

TEST_F(ConversionTest, TheProgramsOwnFolderIsMadeOnFirstUse) {
  Start();  // no folder configured: the program folder's "Decode/"
  Add({kFixtures + "cbr.mp3"});
  pls->SelectIndex(0);
  const QString decode = home.path() + "/Decode/";
  ASSERT_EQ(Slot(ConvertFormat::kWave, 0)->text(), decode);
  ASSERT_FALSE(QFileInfo::exists(decode));
  Slot(ConvertFormat::kWave, 0)->trigger();
  ASSERT_TRUE(WaitUntil([&] { return pls->Conversions().empty(); }, 60000));
  EXPECT_TRUE(QFileInfo::exists(decode + "cbr.wav"));
}

// The stored encoder choices reach the encoder: VBR at quality 2, and
// priority 0 as the lowest niceness. A recording lame in the program
// folder's Decode/codecs/ stands in for the real one.
TEST_F(ConversionTest, TheStoredEncoderChoicesReachTheEncoder) {
  QDir().mkpath(home.path() + "/Decode/codecs");
  const QString lame = home.write("Decode/codecs/lame",
                                  "#!/bin/sh\nnice > ../niceness.txt\nprintf '%s\\n' \"$@\" > ../args.txt\n"
                                  "cat 1.wav > /dev/null; echo mp3 > test.mp3\n");
  QFile::setPermissions(lame, QFile::permissions(lame) | QFileDevice::ExeOwner);
  QDir().mkpath(dest);
  home.write("config.ini", ("[folder]\r\ncount=0\r\n0=" + dest + "\r\n[mp3]\r\nbm=1\r\nq=2\r\np=0\r\n").toUtf8());
  Start();
  Add({kFixtures + "cbr.mp3"});
  pls->SelectIndex(0);
  Slot(ConvertFormat::kMp3, 0)->trigger();
  ASSERT_TRUE(WaitUntil([&] { return !pls->ConversionBusy(); }, 60000));
  const QStringList args = QString::fromUtf8(ReadAll(home.path() + "/Decode/codecs/args.txt")).split('\n', Qt::SkipEmptyParts);
  EXPECT_EQ(args.mid(0, 8), QString("-m s --silent -q 2 -V 2 -k").split(' '));
  EXPECT_EQ(ReadAll(home.path() + "/Decode/codecs/niceness.txt").trimmed(), "19");
  EXPECT_EQ(ReadAll(dest + "cbr.mp3"), "mp3\n");
}

TEST_F(ConversionTest, NothingHappensWithoutASelection) {
  StartWithDestination();
  pls->SelectIndex(-1);
  Slot(ConvertFormat::kMp3, 0)->trigger();
  EXPECT_TRUE(pls->Conversions().empty());
  EXPECT_FALSE(pls->ConversionBusy());
}

TEST_F(ConversionTest, AFailureIsShownAndNoBalloonSaysOtherwise) {
  StartWithDestination();
  QDir(dest).removeRecursively();  // the folder went after it was chosen
  QSignalSpy balloons(app.Windows().tray, &TrayIcon::BalloonRequested);
  NextMessageBox box;
  Slot(ConvertFormat::kMp3, 0)->trigger();
  ASSERT_TRUE(WaitUntil([&] { return !box.text.isEmpty(); }));
  EXPECT_EQ(box.text, "Не удалось конвертировать «cbr» в MP3: папка " + dest + " не найдена.");
  EXPECT_FALSE(pls->ConversionBusy());
  EXPECT_EQ(Caption(), "Плэйлист");
  EXPECT_EQ(balloons.size(), 0);
}

}  // namespace
}  // namespace orve::test
