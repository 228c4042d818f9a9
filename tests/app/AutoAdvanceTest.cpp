// Starting entries and what happens at their end, through the null output
// at real-time pace: the three repeat modes, entries that do not open, and
// what StartEntry brings up to date.
#include <QSignalSpy>

#include "PlaylistFixture.h"
#include "app/TrayIcon.h"
#include "engine/EffectRecords.h"

namespace orve::test {
namespace {

class AutoAdvanceTest : public PlaylistFixture {
 protected:
  // Records each entry that starts, in order.
  void Record() {
    QObject::connect(pls, &PlaylistWindow::StartEntryRequested, pls, [this] { started_.append(pls->SelectedIndex()); });
  }
  void WaitStarts(int count) { ASSERT_TRUE(WaitUntil([&] { return started_.size() >= count; }, 30000)); }
  QList<int> started_;
};

TEST_F(AutoAdvanceTest, RepeatAllGoesRoundTheList) {
  Start();
  Add({home.write("a.wav", SineWav(0.6, 0)), home.write("b.wav", SineWav(0.6, 0)), home.write("c.wav", SineWav(0.6, 0))});
  app.State().RepeatMode = RepeatModes::All;
  Record();
  StartRow(1);
  WaitStarts(4);
  EXPECT_EQ(started_.mid(0, 4), QList<int>({1, 2, 0, 1}));
}

TEST_F(AutoAdvanceTest, RepeatTrackRestartsTheEntryAndTakesTheSelectionBack) {
  Start();
  Add({home.write("a.wav", SineWav(0.6, 0)), home.write("b.wav", SineWav(0.6, 0))});
  app.State().RepeatMode = RepeatModes::Track;
  Record();
  StartRow(0);
  pls->SelectIndex(1);  // the user looks elsewhere meanwhile
  WaitStarts(3);
  EXPECT_EQ(started_.mid(0, 3), QList<int>({0, 0, 0}));
  EXPECT_EQ(pls->SelectedIndex(), 0);
}

TEST_F(AutoAdvanceTest, RepeatOffStopsAndShowsTheFullLengthRemaining) {
  Start();
  Add({home.write("a.wav", SineWav(2, 0)), home.write("b.wav", SineWav(1, 0))});
  Record();
  StartRow(0);
  EXPECT_EQ_SOON(engine->PlayState, kStopped, 30000);
  EXPECT_EQ(started_, QList<int>({0}));
  EXPECT_EQ(engine->CurrentIndex, 0);
  EXPECT_EQ_SOON(mainUi().timeLabel->text(), QString("0:00/0:02"), 10000);
}

TEST_F(AutoAdvanceTest, EntriesThatDoNotOpenNeverSpin) {
  Start();
  const QString broken = home.write("broken.mp3", "not audio at all");
  const QString good = home.write("good.wav", SineWav(0.6, 0));
  Add({broken, good});
  EXPECT_EQ(engine->Durations, QStringList({"0", "1"}));
  Record();

  // Track: the broken entry stops instead of restarting at every tick.
  app.State().RepeatMode = RepeatModes::Track;
  StartRow(0);
  EXPECT_EQ(mainUi().bitRateLabel->text(), "Ошибка");
  EXPECT_EQ_SOON(engine->PlayState, kStopped, 10000);
  QTest::qWait(300);
  EXPECT_EQ(started_, QList<int>({0}));

  // All: a broken entry is passed over at once.
  app.State().RepeatMode = RepeatModes::All;
  started_.clear();
  StartRow(0);
  WaitStarts(2);
  EXPECT_EQ(started_.mid(0, 2), QList<int>({0, 1}));

  // All, and nothing opens: one round, then it stops.
  pls->ClearPlaylist();
  Add({broken, home.write("gone.wav", "RIFF"), broken});
  started_.clear();
  StartRow(0);
  EXPECT_EQ_SOON(engine->PlayState, kStopped, 10000);
  QTest::qWait(300);
  EXPECT_EQ(started_, QList<int>({0, 1, 2}));
}

TEST_F(AutoAdvanceTest, StartEntryBringsEveryDisplayUpToDate) {
  Start();
  Add({kFixtures + "cbr.mp3", kFixtures + "vorbis.ogg"});
  StartRow(0);
  StartRow(1);
  const auto& scheme = app.State().Scheme;
  EXPECT_FALSE(DrawnCurrent(0));
  EXPECT_TRUE(DrawnCurrent(1));
  EXPECT_EQ(mainUi().timeLabel->text(), "0:00/0:02");
  EXPECT_EQ(mainUi().timeLabel->palette().color(QPalette::WindowText), scheme.Colour(ColourRole::Highlight));
  EXPECT_EQ(mainUi().seekBar->maximum(), 2);
  EXPECT_EQ(app.Windows().tray->ToolTip(), "Play: Тест - Огг");
  EXPECT_TRUE(mainUi().bitRateLabel->text().endsWith(" КБит/с")) << mainUi().bitRateLabel->text().toStdString();
  EXPECT_EQ(plsUi().timeLabel->text(), "0:04/0:02");
  // The cbr file: its size over its length.
  StartRow(0);
  const double size = QFileInfo(kFixtures + "cbr.mp3").size();
  const double seconds = engine->Library()->BytesToSeconds(engine->Handle(), engine->Library()->Length(engine->Handle()));
  EXPECT_EQ(mainUi().bitRateLabel->text(), QString::number(std::lround(size / (seconds * 125))) + " КБит/с");
  // Starting the current entry again opens it anew, from the beginning.
  const audio::Handle before = engine->Handle();
  StartRow(0);
  EXPECT_NE(engine->Handle(), before);
  EXPECT_EQ(engine->CurrentIndex, 0);
}

TEST_F(AutoAdvanceTest, EveryNewEntryGetsTheEffectsThatAreSwitchedOn) {
  Start();
  Add({kFixtures + "sine_s16.wav", kFixtures + "vorbis.ogg"});
  for (Effect e : {Effect::Echo, Effect::Compressor, Effect::Reverb}) eqUi().Switch(e)->setValue(1);
  eqUi().volumeSlider->setValue(40);
  StartRow(0);
  StartRow(1);
  int on = 0;
  for (int i = 0; i < kEffectCount; ++i) {
    const bool expected = i == int(Effect::Echo) || i == int(Effect::Compressor) || i == int(Effect::Reverb);
    EXPECT_EQ(engine->EffectHandles[size_t(i)] != -1, expected) << i;
    on += engine->EffectHandles[size_t(i)] != -1;
  }
  EXPECT_EQ(on, 3);
  EXPECT_EQ(engine->PlayState, kPlaying);
  int frequency = -1, volume = -1;
  ASSERT_TRUE(engine->Library()->GetAttributes(engine->Handle(), frequency, volume));
  EXPECT_EQ(volume, 40);
}

}  // namespace
}  // namespace orve::test
