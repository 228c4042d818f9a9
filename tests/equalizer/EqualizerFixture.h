#pragma once
// The equalizer window on a real engine (null output) in a fresh program
// folder, with helpers that read back what reached the channel.

#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <memory>

#include "session/AppState.h"
#include "equalizer/EqualizerWindow.h"
#include "support/TempDir.h"
#include "widgets/ClickLabel.h"
#include "widgets/GlassButton.h"
#include "widgets/TitleStrip.h"
#include "widgets/TrackBar.h"

namespace orve::test {

inline const QString kAudioFixtures = QStringLiteral(ORVE_FIXTURES_DIR "/audio/");

class EqualizerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("ORVE_AUDIO_OUTPUT", "null");
    state.AppDir = home.path() + "/";
    state.Scheme = BuiltInColourScheme();
  }
  void TearDown() override {
    form.reset();
    state.Engine->Shutdown();
  }
  // The engine and the window, not yet created from the file.
  void Build(const QByteArray& config = {}) {
    if (!config.isEmpty()) home.write("config.ini", config);
    state.Engine->Init(state.AppDir);
    form = std::make_unique<EqualizerWindow>(state);
  }
  void Create(const QByteArray& config = {}) {
    Build(config);
    form->RestoreFromConfig();
  }
  // Appends a fixture to the engine's lists and opens it, as a click on the
  // playlist would.
  void Open(const QString& fixture = "sine_s16.wav") {
    TCore& engine = *state.Engine;
    engine.Paths.append(kAudioFixtures + fixture);
    engine.Titles.append(fixture);
    engine.Durations.append("2");
    engine.Kinds.append("1");
    engine.OpenEntry(engine.Paths.size() - 1);
  }
  // What StartEntry does for the effects after a new entry has started.
  void StartEffects() {
    state.Engine->EffectHandles.fill(-1);
    form->RunEffectSwitches();
  }
  float Gain(int k) const {
    dsp::EffectParams p;
    const TCore& engine = *state.Engine;
    EXPECT_TRUE(engine.Library()->GetEffectParameters(engine.Handle(), engine.EqBandHandles[k - 1], p)) << k;
    const auto* band = std::get_if<dsp::ParamEqParams>(&p);
    return band ? band->gain : -99.0f;
  }
  bool OnChannel(Effect e) const {
    const TCore& engine = *state.Engine;
    const int32_t fx = engine.EffectHandles[static_cast<size_t>(e)];
    dsp::EffectParams p;
    return fx > 0 && engine.Library()->GetEffectParameters(engine.Handle(), static_cast<uint32_t>(fx), p);
  }
  EqualizerWindow::Controls Ui() const { return form->ControlsForTest(); }
  QColor Theme(ColourRole role) const { return state.Scheme.Colour(role); }
  static QColor TextColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

  TempDir home;
  AppState state;
  std::unique_ptr<EqualizerWindow> form;
};

}  // namespace orve::test
