// The equalizer window's commands reaching the playing channel: presets,
// shortcuts, volume, sample rate and the effect switches, with their colours.
#include <QTest>

#include "EqualizerFixture.h"

namespace orve::test {
namespace {

struct PresetCase {
  const char* name;
  void (*run)(EqualizerWindow&);
  std::array<int, 16> positions;
};

void DoubleClick(QWidget* w) { QTest::mouseDClick(w, Qt::LeftButton, {}, w->rect().center()); }

const PresetCase kPresets[] = {
    {"Rock", [](EqualizerWindow& f) { f.ControlsForTest().rockPresetAction->trigger(); },
     {23, 22, 21, 20, 19, 18, 17, 16, 16, 17, 17, 18, 19, 19, 19, 18}},
    {"Pop", [](EqualizerWindow& f) { f.ControlsForTest().popPresetAction->trigger(); }, {16, 16, 17, 17, 17, 18, 17, 15, 14, 14, 13, 13, 13, 14, 15, 15}},
    {"Techno", [](EqualizerWindow& f) { f.ControlsForTest().technoPresetAction->trigger(); },
     {18, 17, 16, 16, 16, 15, 14, 14, 15, 16, 16, 17, 18, 17, 17, 16}},
    {"Dance", [](EqualizerWindow& f) { f.ControlsForTest().dancePresetAction->trigger(); },
     {22, 21, 20, 19, 18, 17, 16, 15, 16, 17, 17, 17, 18, 18, 18, 19}},
    {"+15", [](EqualizerWindow& f) { DoubleClick(f.ControlsForTest().maxGainLabel); },
     {30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30}},
    {"0", [](EqualizerWindow& f) { DoubleClick(f.ControlsForTest().zeroGainLabel); }, {15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15}},
    {"-15", [](EqualizerWindow& f) { DoubleClick(f.ControlsForTest().minGainLabel); }, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
};

TEST_F(EqualizerTest, PresetsAndShortcutsReachThePlayingChannel) {
  Create("[eq]\r\n1=2\r\n8=29\r\n");
  form->show();
  Open();
  state.Engine->Play();
  for (const PresetCase& c : kPresets) {
    c.run(*form);
    for (int k = 1; k <= 16; ++k) {
      EXPECT_EQ(Ui().Band(k)->value(), c.positions[static_cast<size_t>(k - 1)]) << c.name << " band " << k;
      EXPECT_EQ(Gain(k), c.positions[static_cast<size_t>(k - 1)] - 15) << c.name << " band " << k;
    }
  }
  EXPECT_EQ(state.Engine->PlayState, kPlaying);
}

TEST_F(EqualizerTest, RockGivesEightDecibelsAtTheBottomAndOneAtFourKilohertz) {
  Create();
  Open();
  state.Engine->Play();
  form->ApplyPreset(equalizer::kRock);
  EXPECT_EQ(Gain(1), 8);
  EXPECT_EQ(Gain(8), 1);
  // A band moved by hand is sent on its own.
  Ui().Band(8)->setValue(0);
  EXPECT_EQ(Gain(8), -15);
  EXPECT_EQ(Gain(7), 2);
}

TEST_F(EqualizerTest, VolumeReachesTheChannelAndTheMainWindowsText) {
  Create();
  QSignalSpy text(form.get(), &EqualizerWindow::VolumeTextChanged);
  // With nothing open only the slider and the text move.
  Ui().volumeSlider->setValue(70);
  ASSERT_EQ(text.size(), 1);
  EXPECT_EQ(text.at(0).at(0).toString(), "Грм:70%");
  Open();
  state.Engine->Play();
  Ui().volumeSlider->setValue(40);
  EXPECT_EQ(text.last().at(0).toString(), "Грм:40%");
  int frequency = -1, volume = -1;
  ASSERT_TRUE(state.Engine->Library()->GetAttributes(state.Engine->Handle(), frequency, volume));
  EXPECT_EQ(volume, 40);
}

TEST_F(EqualizerTest, SampleRateReachesTheChannel) {
  Create();
  Open();
  state.Engine->Play();
  int ownRate = -1, volume = -1;
  ASSERT_TRUE(state.Engine->Library()->GetAttributes(state.Engine->Handle(), ownRate, volume));
  ASSERT_NE(ownRate, 22050);
  Ui().volumeSlider->setValue(60);
  Ui().sampleRateSlider->setValue(22050);
  int frequency = -1;
  ASSERT_TRUE(state.Engine->Library()->GetAttributes(state.Engine->Handle(), frequency, volume));
  EXPECT_EQ(frequency, 22050);
  EXPECT_EQ(volume, 60);
  // 0 goes back to the stream's own rate.
  Ui().sampleRateSlider->setValue(0);
  ASSERT_TRUE(state.Engine->Library()->GetAttributes(state.Engine->Handle(), frequency, volume));
  EXPECT_EQ(frequency, ownRate);
}

TEST_F(EqualizerTest, SwitchingAnEffectWhilePlayingPausesAndResumes) {
  Create();
  form->show();
  Open();
  state.Engine->Play();
  QSignalSpy transport(state.Engine.get(), &TCore::TransportChanged);
  TrackBar* flanger = Ui().Switch(Effect::Flanger);
  QTest::mouseClick(flanger, Qt::LeftButton, {}, flanger->rect().center());
  EXPECT_EQ(flanger->value(), 1);
  EXPECT_EQ(state.Engine->PlayState, kPlaying);
  EXPECT_EQ(transport.size(), 2);  // paused, then playing again
  EXPECT_TRUE(OnChannel(Effect::Flanger));
  EXPECT_EQ(TextColour(Ui().Letter(Effect::Flanger)), Theme(ColourRole::LabelText));
  EXPECT_EQ(flanger->TrackColour(), Theme(ColourRole::Highlight));

  QTest::mouseClick(flanger, Qt::LeftButton, {}, flanger->rect().center());
  EXPECT_EQ(flanger->value(), 0);
  EXPECT_EQ(state.Engine->PlayState, kPlaying);
  EXPECT_EQ(state.Engine->EffectHandles[static_cast<size_t>(Effect::Flanger)], -1);
  EXPECT_EQ(TextColour(Ui().Letter(Effect::Flanger)), Theme(ColourRole::Panel));
  EXPECT_EQ(flanger->TrackColour(), Theme(ColourRole::LabelText));
}

TEST_F(EqualizerTest, SwitchingAnEffectWhilePausedLeavesItPaused) {
  Create();
  Open();
  state.Engine->Play();
  state.Engine->Pause();
  Ui().Switch(Effect::Echo)->setValue(1);
  EXPECT_EQ(state.Engine->PlayState, kPaused);
  EXPECT_TRUE(OnChannel(Effect::Echo));
}

TEST_F(EqualizerTest, ANewEntryGetsExactlyTheSwitchedOnEffects) {
  Create();
  Open();
  state.Engine->Play();
  for (const Effect e : {Effect::Chorus, Effect::Gargle, Effect::Reverb}) Ui().Switch(e)->setValue(1);
  Open("wav_s16_mono.wav");
  StartEffects();
  for (int i = 0; i < 7; ++i) {
    const auto e = static_cast<Effect>(i);
    const bool on = e == Effect::Chorus || e == Effect::Gargle || e == Effect::Reverb;
    EXPECT_EQ(OnChannel(e), on) << i;
    if (!on) {
      EXPECT_EQ(state.Engine->EffectHandles[static_cast<size_t>(i)], -1) << i;
    }
  }
}

TEST_F(EqualizerTest, ASchemeReloadKeepsTheEffectsAndTheirColours) {
  Create();
  Open();
  state.Engine->Play();
  Ui().Switch(Effect::Compressor)->setValue(1);
  const int32_t handle = state.Engine->EffectHandles[static_cast<size_t>(Effect::Compressor)];
  state.Scheme.ThemeColors[static_cast<size_t>(ColourRole::Highlight)] = 0x0000FF;  // red
  state.Scheme.ThemeColors[static_cast<size_t>(ColourRole::LabelText)] = 0x00FF00;  // green
  form->ApplyScheme();
  form->RunEffectSwitches();
  EXPECT_EQ(state.Engine->EffectHandles[static_cast<size_t>(Effect::Compressor)], handle);
  EXPECT_TRUE(OnChannel(Effect::Compressor));
  EXPECT_EQ(state.Engine->PlayState, kPlaying);
  EXPECT_EQ(Ui().Switch(Effect::Compressor)->TrackColour(), QColor(Qt::red));
  EXPECT_EQ(TextColour(Ui().Letter(Effect::Compressor)), QColor(Qt::green));
  EXPECT_EQ(Ui().Switch(Effect::Echo)->TrackColour(), QColor(Qt::green));
  EXPECT_EQ(Ui().Band(2)->TrackColour(), QColor(Qt::green));
}

TEST_F(EqualizerTest, PressingABandMarksTheDragAndColoursItsTrack) {
  Create();
  form->show();
  TrackBar* band = Ui().Band(5);
  QTest::mousePress(band, Qt::LeftButton, {}, QPoint(5, 0));
  EXPECT_TRUE(state.EqDragging);
  EXPECT_EQ(band->TrackColour(), Theme(ColourRole::Highlight));
  EXPECT_EQ(band->value(), 30);  // pressed at the top
  QTest::mouseRelease(band, Qt::LeftButton, {}, QPoint(5, 0));
  EXPECT_FALSE(state.EqDragging);
  EXPECT_EQ(band->TrackColour(), Theme(ColourRole::LabelText));
}

TEST_F(EqualizerTest, PressingTheVolumeHighlightsTheMainWindowsLabel) {
  Create();
  form->show();
  QSignalSpy highlighted(form.get(), &EqualizerWindow::VolumeLabelHighlighted);
  QTest::mousePress(Ui().volumeSlider, Qt::LeftButton, {}, QPoint(36, 7));
  EXPECT_EQ(Ui().volumeSlider->TrackColour(), Theme(ColourRole::Highlight));
  QTest::mouseRelease(Ui().volumeSlider, Qt::LeftButton, {}, QPoint(36, 7));
  EXPECT_EQ(Ui().volumeSlider->TrackColour(), Theme(ColourRole::LabelText));
  ASSERT_EQ(highlighted.size(), 2);
  EXPECT_TRUE(highlighted.at(0).at(0).toBool());
  EXPECT_FALSE(highlighted.at(1).at(0).toBool());
  QTest::mousePress(Ui().sampleRateSlider, Qt::LeftButton, {}, QPoint(36, 7));
  EXPECT_EQ(Ui().sampleRateSlider->TrackColour(), Theme(ColourRole::Highlight));
  QTest::mouseRelease(Ui().sampleRateSlider, Qt::LeftButton, {}, QPoint(36, 7));
  EXPECT_EQ(Ui().sampleRateSlider->TrackColour(), Theme(ColourRole::LabelText));
  EXPECT_EQ(highlighted.size(), 2);
}

TEST_F(EqualizerTest, TheCloseButtonHidesAndReports) {
  Create("[eq]\r\nstatus=1\r\n");
  ASSERT_TRUE(form->isVisible());
  Ui().Band(3)->setValue(22);
  QSignalSpy closed(form.get(), &EqualizerWindow::Closed);
  QTest::mouseClick(Ui().closeButton, Qt::LeftButton);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(state.EqualizerShown);
  EXPECT_EQ(closed.size(), 1);
  EXPECT_EQ(Ui().Band(3)->value(), 22);
  // A close from elsewhere does the same.
  form->show();
  state.EqualizerShown = true;
  form->close();
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(state.EqualizerShown);
  EXPECT_EQ(closed.size(), 2);
}

TEST_F(EqualizerTest, TheKeyHandlerSeesKeysOnEverySlider) {
  struct Counter : QObject {
    int keys = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::KeyPress) ++keys;
      return e->type() == QEvent::KeyPress;
    }
  } counter;
  Create();
  form->SetKeyHandler(&counter);
  QTest::keyClick(Ui().Band(16), Qt::Key_Up);
  QTest::keyClick(Ui().Switch(Effect::Reverb), Qt::Key_Up);
  QTest::keyClick(Ui().volumeSlider, Qt::Key_Left);
  QTest::keyClick(Ui().sampleRateSlider, Qt::Key_Right);
  EXPECT_EQ(counter.keys, 4);
  EXPECT_EQ(Ui().Band(16)->value(), 15);  // the handler took the key
  form->SetKeyHandler(nullptr);
  QTest::keyClick(Ui().Band(16), Qt::Key_Up);
  EXPECT_EQ(counter.keys, 4);
}

TEST_F(EqualizerTest, TheTitleStripMarksTheActiveWindow) {
  Create();
  form->show();
  form->activateWindow();
  if (!QTest::qWaitForWindowActive(form.get(), 5000)) GTEST_SKIP() << "no window activation on this platform";
  EXPECT_EQ(Ui().titleStrip->GradientEnd(), Theme(ColourRole::Highlight));
}

}  // namespace
}  // namespace orve::test
