// The shared key table in the main window (on its seek bar) and in the
// equalizer window (on its sliders), in every play state.
#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

#include "app/Application.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "equalizer/Unit6.h"
#include "playlist/Unit2.h"
#include "support/TempDir.h"

namespace orve {
namespace {

// A silent WAV of `seconds` (8 kHz mono 16-bit): long enough for 5-second seeks.
QByteArray SilentWav(int seconds) {
  const quint32 data = 8000u * 2u * static_cast<quint32>(seconds);
  QByteArray wav;
  auto u32 = [&](quint32 v) { for (int i = 0; i < 4; ++i) wav.append(char((v >> (8 * i)) & 0xFF)); };
  auto u16 = [&](quint16 v) { wav.append(char(v & 0xFF)); wav.append(char(v >> 8)); };
  wav += "RIFF"; u32(36 + data); wav += "WAVEfmt "; u32(16); u16(1); u16(1); u32(8000); u32(16000); u16(2); u16(16);
  wav += "data"; u32(data);
  wav.append(QByteArray(static_cast<qsizetype>(data), '\0'));
  return wav;
}

class KeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("ORVE_HOME", home.path().toUtf8());
    app.State() = AppState();
    ASSERT_TRUE(Startup(app, {}));
    main = app.MainWindow();
    eq = app.Equalizer();
    pls = app.Playlist();
  }
  // The controls that carry the key table in the three windows.
  QList<QWidget*> Targets() const { return {main->RzTrackBar1, eq->Bands[0], pls->ListBox1}; }
  void TearDown() override { Shutdown(app); }
  // Opens a 20-second file as entry 0, in `state`.
  void Load(quint8 state, const char* kind = "1") {
    TCore& engine = *app.State().Engine;
    const QString path = home.write("long.wav", SilentWav(20));
    engine.Paths = {path};
    engine.Titles = {"long"};
    engine.Durations = {"20"};
    engine.Kinds = {kind};
    engine.CurrentIndex = 0;
    engine.OpenEntry(0);
    main->RzTrackBar1->setMaximum(engine.Length() > 0 ? engine.Length() : 0);
    if (state >= kPlaying) engine.Play();
    if (state == kPaused) engine.Pause();
    if (state == kStopped) engine.Stop();
  }
  void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
  }
  TApplication& app = *TApplication::Instance();
  test::TempDir home;
  TForm1* main = nullptr;
  TForm6* eq = nullptr;
  TForm2* pls = nullptr;
};

TEST_F(KeysTest, SpacePlaysAndPausesInEveryState) {
  struct Case {
    quint8 from;
    quint8 to;
  };
  for (const Case c : {Case{kOpened, kPlaying}, Case{kPlaying, kPaused}, Case{kPaused, kPlaying},
                       Case{kStopped, kPlaying}}) {
    for (QWidget* target : Targets()) {
      Load(c.from);
      Key(target, Qt::Key_Space);
      EXPECT_EQ(app.State().Engine->PlayState, c.to) << int(c.from);
    }
  }
  app.State().Engine->Shutdown();
  app.State().Engine->Init(app.State().AppDir);
  Key(main->RzTrackBar1, Qt::Key_Space);  // nothing loaded: nothing happens
  EXPECT_EQ(app.State().Engine->PlayState, kNothingLoaded);
}

TEST_F(KeysTest, FiveSecondSeeksAndTheirGuards) {
  struct Case {
    quint8 state;
    const char* kind;
    int from;
    int key;
    int to;
  };
  const Case cases[] = {
      {kPaused, "1", 17, Qt::Key_Right, 20},       // 3 s left: to the end
      {kPaused, "1", 10, Qt::Key_Right, 15},
      {kPaused, "1", 4, Qt::Key_Left, 0},
      {kPaused, "1", 6, Qt::Key_Left, 1},
      {kStopped, "1", 10, Qt::Key_MediaPrevious, 5},
      {kOpened, "1", 10, Qt::Key_Right, 10},       // before the first play: nothing
  };
  for (const auto& c : cases) {
    // The equalizer and the playlist swallow the key: only the seek happens.
    for (QWidget* target : {static_cast<QWidget*>(eq->TrackBar1), static_cast<QWidget*>(pls->ListBox1)}) {
      Load(c.state, c.kind);
      main->RzTrackBar1->setValue(c.from);
      Key(target, c.key);
      EXPECT_EQ(main->RzTrackBar1->value(), c.to) << c.from << " key " << c.key;
      if (c.state != kOpened) {
        EXPECT_EQ(app.State().Engine->Position(), c.to) << c.from;
      }
      EXPECT_FALSE(app.State().SeekDragging);
    }
  }
}

TEST_F(KeysTest, NoSeekOnAStream) {
  Load(kPlaying, "4");
  main->RzTrackBar1->setMaximum(0);
  Key(eq->Bands[3], Qt::Key_Right);
  EXPECT_EQ(main->RzTrackBar1->value(), 0);
}

TEST_F(KeysTest, VolumeKeysStepTheEqualizersVolume) {
  eq->TrackBar1->setValue(100);
  Key(eq->Bands[0], Qt::Key_Plus, Qt::KeypadModifier);  // at 100 it stays, yet is applied
  EXPECT_EQ(eq->TrackBar1->value(), 100);
  main->Label3->setText("");
  Key(main->RzTrackBar1, Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(main->Label3->text(), "Грм:100%");
  Key(main->RzTrackBar1, Qt::Key_Minus, Qt::KeypadModifier);
  Key(eq->Switches[0], Qt::Key_VolumeDown);
  EXPECT_EQ(eq->TrackBar1->value(), 98);
  EXPECT_EQ(main->Label3->text(), "Грм:98%");
  Key(main->RzTrackBar1, Qt::Key_Minus);  // the minus of the main keyboard is not the key
  EXPECT_EQ(eq->TrackBar1->value(), 98);
}

TEST_F(KeysTest, InsertOpensTheOpenDialogInEveryWindow) {
  for (QWidget* target : Targets()) {
    Key(target, Qt::Key_Insert);
    EXPECT_TRUE(main->OpenDialog1->isVisible());
    main->OpenDialog1->reject();
    Key(target, Qt::Key_Insert, Qt::ShiftModifier);  // the music base's key: no dialog
    EXPECT_FALSE(main->OpenDialog1->isVisible());
  }
}

TEST_F(KeysTest, TheEqualizerSwallowsEveryKey) {
  TrackBar* band = eq->Bands[5];
  const int before = band->value();
  Key(band, Qt::Key_Up);
  Key(band, Qt::Key_PageUp);
  EXPECT_EQ(band->value(), before);
}

}  // namespace
}  // namespace orve
