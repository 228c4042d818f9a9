// The engine's side of the equalizer and the effects: records filled from
// config.ini, bands built on every stream, effects switched on and off.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "engine/Core.h"
#include "settings/IniFile.h"
#include "support/TempDir.h"

namespace orve {
namespace {

const QString kFixtures = QStringLiteral(ORVE_FIXTURES_DIR "/audio/");

// With no section every effect gets its own standard parameters (in the
// library's units), so an effect switched on untouched is heard.
TEST(EffectRecords, DefaultsWithNoSection) {
  test::TempDir dir;
  IniFile ini(dir.file("config.ini"));
  EffectRecords r;
  for (int e = 0; e < kEffectCount; ++e) r.Fill(static_cast<Effect>(e), ini);
  EXPECT_EQ(r.echo.wetDryMix, 50);
  EXPECT_EQ(r.echo.feedback, 50);
  EXPECT_EQ(r.echo.leftDelay, 500);
  EXPECT_EQ(r.echo.rightDelay, 500);
  EXPECT_EQ(r.echo.panDelay, 0);
  struct Modulation {
    const char* name;
    const dsp::FlangerParams& params;
    float mix, depth, feedback, frequency, delay;
    int phase;
  };
  const dsp::FlangerParams chorus{r.chorus.wetDryMix, r.chorus.depth, r.chorus.feedback, r.chorus.frequency,
                                  r.chorus.waveform,  r.chorus.delay, r.chorus.phase};
  for (const Modulation& m : {Modulation{"flanger", r.flanger, 50, 100, -50, 0.25f, 2, 2},
                              Modulation{"chorus", chorus, 50, 10, 25, 1.1f, 16, 3}}) {
    EXPECT_EQ(m.params.wetDryMix, m.mix) << m.name;
    EXPECT_EQ(m.params.depth, m.depth) << m.name;
    EXPECT_EQ(m.params.feedback, m.feedback) << m.name;
    EXPECT_FLOAT_EQ(m.params.frequency, m.frequency) << m.name;
    EXPECT_EQ(m.params.waveform, 1) << m.name;
    EXPECT_FLOAT_EQ(m.params.delay, m.delay) << m.name;
    EXPECT_EQ(m.params.phase, m.phase) << m.name;
  }
  EXPECT_EQ(r.compressor.gain, 0);
  EXPECT_FLOAT_EQ(r.compressor.attack, 10);
  EXPECT_EQ(r.compressor.release, 200);
  EXPECT_EQ(r.compressor.threshold, -20);
  EXPECT_EQ(r.compressor.ratio, 3);
  EXPECT_EQ(r.compressor.predelay, 4);
  EXPECT_EQ(r.gargle.rateHz, 20u);
  EXPECT_EQ(r.gargle.waveShape, 1u);
  EXPECT_EQ(r.reverb3d.room, -1000);
  EXPECT_EQ(r.reverb3d.roomHF, -100);
  EXPECT_FLOAT_EQ(r.reverb3d.decayTime, 1.49f);
  EXPECT_FLOAT_EQ(r.reverb3d.decayHFRatio, 0.83f);
  EXPECT_EQ(r.reverb3d.reflections, -2602);
  EXPECT_FLOAT_EQ(r.reverb3d.reflectionsDelay, 0.007f);
  EXPECT_EQ(r.reverb3d.reverb, 200);
  EXPECT_FLOAT_EQ(r.reverb3d.reverbDelay, 0.011f);
  EXPECT_EQ(r.reverb3d.diffusion, 100);
  EXPECT_EQ(r.reverb3d.density, 100);
  EXPECT_EQ(r.reverb3d.hfReference, 5000);
  EXPECT_EQ(r.reverb.inGain, 0);
  EXPECT_EQ(r.reverb.reverbMix, 0);
  EXPECT_FLOAT_EQ(r.reverb.reverbTime, 1000);
  EXPECT_FLOAT_EQ(r.reverb.highFreqRTRatio, 0.001f);
}

// Stored values are used exactly as stored, however far from the defaults.
TEST(EffectRecords, StoredValuesAreUsedAsStored) {
  test::TempDir dir;
  dir.write("config.ini",
            "[echo]\r\ndrywet=100\r\nfeedback=0\r\nLeft=333\r\n[reverb]\r\ninGain=0\r\nreverbMix=0\r\n"
            "[flanger]\r\nfrequency=3\r\ndepth=0\r\n[chorus]\r\nfrequency=0.5\r\n");
  IniFile ini(dir.file("config.ini"));
  EffectRecords r;
  for (int e = 0; e < kEffectCount; ++e) r.Fill(static_cast<Effect>(e), ini);
  EXPECT_EQ(r.echo.wetDryMix, 100);
  EXPECT_EQ(r.echo.feedback, 0);
  EXPECT_EQ(r.echo.leftDelay, 333);
  EXPECT_EQ(r.echo.rightDelay, 500);
  EXPECT_EQ(r.reverb.inGain, -96);
  EXPECT_EQ(r.reverb.reverbMix, -96);
  EXPECT_EQ(r.flanger.frequency, 3);
  EXPECT_EQ(r.flanger.depth, 0);
  EXPECT_FLOAT_EQ(r.chorus.frequency, 0.5f);
}

TEST(EffectRecords, FactorsPanAndThePhaseRule) {
  test::TempDir dir;
  dir.write("config.ini",
            "[echo]\r\npan=1\r\nfeedback=40\r\n[FLANGER]\r\ndelay=250\r\nphase=3\r\n"
            "[chorus]\r\nphase=7\r\ndelay=1999.5\r\n[compressor]\r\nattack=50000\r\n"
            "[reverb3d]\r\nroomRolloffFactor=5\r\n[reverb]\r\ninGain=90\r\nreverbTime=3000000\r\n");
  IniFile ini(dir.file("config.ini"));
  EffectRecords r;
  for (int e = 0; e < kEffectCount; ++e) r.Fill(static_cast<Effect>(e), ini);
  EXPECT_EQ(r.echo.panDelay, -1);
  EXPECT_EQ(r.echo.feedback, 40);
  EXPECT_FLOAT_EQ(r.flanger.delay, 2.5f);
  EXPECT_EQ(r.flanger.phase, 3);
  EXPECT_EQ(r.chorus.phase, 0);  // 7 is not a phase: the last one (none yet) stays
  EXPECT_FLOAT_EQ(r.chorus.delay, 19.995f);
  EXPECT_FLOAT_EQ(r.compressor.attack, 500);
  EXPECT_FLOAT_EQ(r.reverb3d.roomRolloffFactor, 0.5f);
  EXPECT_EQ(r.reverb.inGain, -6);
  EXPECT_FLOAT_EQ(r.reverb.reverbTime, 3000);
  // A later invalid phase keeps the valid one read before.
  dir.write("config.ini", "[flanger]\r\nphase=-1\r\n");
  IniFile again(dir.file("config.ini"));
  r.Fill(Effect::Flanger, again);
  EXPECT_EQ(r.flanger.phase, 3);
}

class EngineEffectsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("ORVE_AUDIO_OUTPUT", "null");
    core.Init(home.path() + "/");
    for (int k = 1; k <= kEqBands; ++k) core.SetBandPosition(k, positions[static_cast<size_t>(k - 1)]);
  }
  void Open(const QString& fixture = "sine_s16.wav") {
    core.Paths.append(kFixtures + fixture);
    core.Titles.append(fixture);
    core.Durations.append("2");
    core.Kinds.append("1");
    core.OpenEntry(core.Paths.size() - 1);
  }
  dsp::ParamEqParams Band(int k) {
    dsp::EffectParams p;
    EXPECT_TRUE(core.Library()->GetEffectParameters(core.Handle(), core.EqBandHandles[k - 1], p));
    return std::get<dsp::ParamEqParams>(p);
  }
  bool OnChannel(Effect e) {
    dsp::EffectParams p;
    return core.Library()->GetEffectParameters(core.Handle(), core.EffectHandles[static_cast<size_t>(e)], p);
  }
  test::TempDir home;
  TCore core;
  std::array<int, kEqBands> positions{15, 30, 0, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 20};
};

TEST_F(EngineEffectsTest, EveryStreamCarriesTheSixteenBands) {
  Open();
  for (int k = 1; k <= kEqBands; ++k) {
    const auto band = Band(k);
    EXPECT_EQ(band.center, EqBandTable[k - 1].centre) << k;
    EXPECT_EQ(band.bandwidth, 5.0f) << k;
    EXPECT_EQ(band.gain, positions[k - 1] - 15) << k;
  }
  core.SetBandPosition(3, 25);
  EXPECT_EQ(Band(3).gain, 10);
  EXPECT_EQ(Band(3).center, 310);
  EXPECT_EQ(Band(3).bandwidth, 5.0f);
}

TEST_F(EngineEffectsTest, SwitchingOnWhilePlayingPausesAndResumes) {
  Open();
  core.Play();
  QSignalSpy transport(&core, &TCore::TransportChanged);
  core.SwitchEffect(Effect::Echo, true);
  EXPECT_EQ(core.PlayState, kPlaying);
  ASSERT_EQ(transport.size(), 2);
  EXPECT_EQ(transport.at(0).at(0).value<quint8>(), kPaused);
  EXPECT_EQ(transport.at(1).at(0).value<quint8>(), kPlaying);
  EXPECT_TRUE(OnChannel(Effect::Echo));
  dsp::EffectParams sent;
  core.Library()->GetEffectParameters(core.Handle(), core.EffectHandles[0], sent);
  EXPECT_EQ(std::get<dsp::EchoParams>(sent).leftDelay, 500);
  EXPECT_EQ(std::get<dsp::EchoParams>(sent).feedback, 50);
}

TEST_F(EngineEffectsTest, SwitchingWhilePausedKeepsItPaused) {
  Open();
  core.Play();
  core.Pause();
  core.SwitchEffect(Effect::Gargle, true);
  EXPECT_EQ(core.PlayState, kPaused);
  EXPECT_TRUE(OnChannel(Effect::Gargle));
  core.SwitchEffect(Effect::Gargle, false);
  EXPECT_EQ(core.PlayState, kPaused);
  EXPECT_EQ(core.EffectHandles[static_cast<size_t>(Effect::Gargle)], -1);
}

TEST_F(EngineEffectsTest, AnEffectAlreadyPresentIsNotCreatedTwice) {
  Open();
  core.SwitchEffect(Effect::Chorus, true);
  const int32_t first = core.EffectHandles[2];
  home.write("config.ini", "[chorus]\r\ndepth=40\r\n");
  core.SwitchEffect(Effect::Chorus, true);
  EXPECT_EQ(core.EffectHandles[2], first);
  dsp::EffectParams sent;
  core.Library()->GetEffectParameters(core.Handle(), first, sent);
  EXPECT_EQ(std::get<dsp::ChorusParams>(sent).depth, 40);  // read and sent again
  EXPECT_TRUE(core.Library()->RemoveEffect(core.Handle(), first));
  EXPECT_FALSE(core.Library()->RemoveEffect(core.Handle(), first));  // there was one instance
}

TEST_F(EngineEffectsTest, WithNoStreamTheFailedHandleIsKeptUntilReset) {
  core.SwitchEffect(Effect::Echo, true);  // nothing open
  EXPECT_EQ(core.EffectHandles[0], 0);
  Open();
  core.SwitchEffect(Effect::Echo, true);
  EXPECT_EQ(core.EffectHandles[0], 0);  // not retried
  EXPECT_FALSE(OnChannel(Effect::Echo));
  core.EffectHandles.fill(-1);  // what starting an entry does
  core.SwitchEffect(Effect::Echo, true);
  EXPECT_TRUE(OnChannel(Effect::Echo));
}

TEST_F(EngineEffectsTest, OpeningTheNextEntryStartsWithOnlyTheBands) {
  Open();
  core.SwitchEffect(Effect::Echo, true);
  core.SwitchEffect(Effect::Reverb, true);
  Open("cbr.mp3");
  core.EffectHandles.fill(-1);
  for (int k = 1; k <= kEqBands; ++k) EXPECT_EQ(Band(k).gain, positions[k - 1] - 15);
  EXPECT_FALSE(OnChannel(Effect::Echo));
}

}  // namespace
}  // namespace orve
