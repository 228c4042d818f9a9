// The shared key table in the main window (on its seek bar) and in the
// equalizer window (on its sliders), in every play state.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTest>

#include "app/Application.h"
#include "app/Startup.h"
#include "app/MainWindow.h"
#include "equalizer/EqualizerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "settings/window/SettingsWindow.h"
#include "support/TempDir.h"
#include "widgets/ClickLabel.h"
#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"
#include "widgets/MarkupListBox.h"
#include "widgets/TitleStrip.h"
#include "widgets/TrackBar.h"

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
    main = app.Windows().main;
    eq = app.Windows().equalizer;
    pls = app.Windows().playlist;
  }
  MainWindow::Controls mainUi() const { return main->ControlsForTest(); }
  PlaylistWindow::Controls plsUi() const { return pls->ControlsForTest(); }
  EqualizerWindow::Controls eqUi() const { return eq->ControlsForTest(); }
  // The controls that carry the key table in the three windows.
  QList<QWidget*> Targets() const { return {mainUi().seekBar, eqUi().bands[0], plsUi().entryList}; }
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
    mainUi().seekBar->setMaximum(engine.Length() > 0 ? engine.Length() : 0);
    if (state >= kPlaying) engine.Play();
    if (state == kPaused) engine.Pause();
    if (state == kStopped) engine.Stop();
  }
  void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
  }
  Application& app = *Application::Instance();
  test::TempDir home;
  MainWindow* main = nullptr;
  EqualizerWindow* eq = nullptr;
  PlaylistWindow* pls = nullptr;
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
  Key(mainUi().seekBar, Qt::Key_Space);  // nothing loaded: nothing happens
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
    for (QWidget* target : {static_cast<QWidget*>(eqUi().volumeSlider), static_cast<QWidget*>(plsUi().entryList)}) {
      Load(c.state, c.kind);
      mainUi().seekBar->setValue(c.from);
      Key(target, c.key);
      EXPECT_EQ(mainUi().seekBar->value(), c.to) << c.from << " key " << c.key;
      if (c.state != kOpened) {
        EXPECT_EQ(app.State().Engine->Position(), c.to) << c.from;
      }
      EXPECT_FALSE(app.State().SeekDragging);
    }
  }
}

TEST_F(KeysTest, NoSeekOnAStream) {
  Load(kPlaying, "4");
  mainUi().seekBar->setMaximum(0);
  Key(eqUi().bands[3], Qt::Key_Right);
  EXPECT_EQ(mainUi().seekBar->value(), 0);
}

TEST_F(KeysTest, VolumeKeysStepTheEqualizersVolume) {
  eqUi().volumeSlider->setValue(100);
  Key(eqUi().bands[0], Qt::Key_Plus, Qt::KeypadModifier);  // at 100 it stays, yet is applied
  EXPECT_EQ(eqUi().volumeSlider->value(), 100);
  mainUi().volumeLabel->setText("");
  Key(mainUi().seekBar, Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(mainUi().volumeLabel->text(), "Грм:100%");
  Key(mainUi().seekBar, Qt::Key_Minus, Qt::KeypadModifier);
  Key(eqUi().effectSwitches[0], Qt::Key_VolumeDown);
  EXPECT_EQ(eqUi().volumeSlider->value(), 98);
  EXPECT_EQ(mainUi().volumeLabel->text(), "Грм:98%");
  Key(mainUi().seekBar, Qt::Key_Minus);  // the minus of the main keyboard is not the key
  EXPECT_EQ(eqUi().volumeSlider->value(), 98);
}

TEST_F(KeysTest, InsertOpensTheOpenDialogInEveryWindow) {
  for (QWidget* target : Targets()) {
    Key(target, Qt::Key_Insert);
    EXPECT_TRUE(mainUi().openFilesDialog->isVisible());
    mainUi().openFilesDialog->reject();
    Key(target, Qt::Key_Insert, Qt::ShiftModifier);  // the music base's key: no dialog
    EXPECT_FALSE(mainUi().openFilesDialog->isVisible());
  }
}

TEST_F(KeysTest, F2OpensTheSettingsWindowInEveryWindow) {
  for (QWidget* target : Targets()) {
    Key(target, Qt::Key_F2);
    EXPECT_TRUE(app.Windows().settings->isVisible());
    app.Windows().settings->Cancel();
  }
}

TEST_F(KeysTest, TheEqualizerSwallowsEveryKey) {
  TrackBar* band = eqUi().bands[5];
  const int before = band->value();
  Key(band, Qt::Key_Up);
  Key(band, Qt::Key_PageUp);
  EXPECT_EQ(band->value(), before);
}

}  // namespace
}  // namespace orve
