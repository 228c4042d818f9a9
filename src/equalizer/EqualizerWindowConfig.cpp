// The equalizer window's start-up from config.ini and its record at exit.
#include <algorithm>

#include "equalizer/EqualizerWindow.h"
#include "session/AppState.h"
#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"
#include "widgets/SkinColours.h"
#include "widgets/TrackBar.h"

namespace orve {
namespace {

namespace ck = config;

constexpr int kLastVisMode = 4;

QString BandKey(int k) { return QString::number(k); }

}  // namespace

// The order matters: the shown state is reported before the sliders move,
// and the switches are stepped once more with fresh handles after all of
// them have their positions. Setting a slider runs its change step.
void EqualizerWindow::RestoreFromConfig() {
  ApplyScheme();
  IniFile config(state_.AppDir + QString::fromLatin1(ck::kFileName));
  state_.VisMode = static_cast<quint8>(std::clamp(config.Read(ck::vis::kMode), 0, kLastVisMode));
  volumeSlider_->setValue(config.Read(ck::tech::kVolume));
  sampleRateSlider_->setValue(config.Read(ck::eq::kSampleRate));
  SendAttributes();
  RestoreShown(config);
  RestoreSliders(config);
  for (int i = 0; i < kEffectCount; ++i) {
    state_.Engine->EffectHandles[static_cast<size_t>(i)] = -1;
    SwitchChange(static_cast<Effect>(i));
  }
  RestoreOtherWindows(config);
  emit VolumeTextChanged(QStringLiteral("Грм:%1%").arg(volumeSlider_->value()));
}

void EqualizerWindow::RestoreShown(IniFile& config) {
  state_.EqualizerShown = config.Read(ck::eq::kShown);
  if (state_.EqualizerShown) show();
  emit EqualizerShownAtStartup(state_.EqualizerShown);
}

// Stored values outside a slider's range are clamped by the slider.
void EqualizerWindow::RestoreSliders(IniFile& config) {
  for (int k = 1; k <= kEqBands; ++k) {
    Band(k)->setValue(config.ReadInteger(QString::fromLatin1(ck::eq::kSection), BandKey(k), ck::eq::kBandDefault));
  }
  for (int i = 0; i < kEffectCount; ++i) {
    const auto e = static_cast<Effect>(i);
    Switch(e)->setValue(config.Read(equalizer::kEffectSwitches[static_cast<size_t>(i)].key));
  }
}

void EqualizerWindow::RestoreOtherWindows(IniFile& config) {
  if (config.Read(ck::main::kRoundButtons)) emit RoundButtonsRequested();
  const int eqTrs = config.Read(ck::eq::kOpacity);
  // A stored value is applied by its low 8 bits, even one below the
  // transparency window's minimum of 10.
  ApplyStoredOpacity(this, eqTrs);
  emit OpacitiesRequested(config.Read(ck::main::kOpacity), config.Read(ck::pls::kOpacity), eqTrs);
}

void EqualizerWindow::SaveToConfig(IniFile& config) {
  config.Write(ck::tech::kVolume, volumeSlider_->value());
  config.Write(ck::eq::kX, x());
  config.Write(ck::eq::kY, y());
  for (int k = 1; k <= kEqBands; ++k) {
    config.WriteInteger(QString::fromLatin1(ck::eq::kSection), BandKey(k), Band(k)->value());
  }
  config.Write(ck::eq::kSampleRate, sampleRateSlider_->value());
  for (const Effect e : {Effect::Flanger, Effect::Echo, Effect::Chorus, Effect::Compressor, Effect::Gargle,
                         Effect::Reverb3d, Effect::Reverb}) {
    config.Write(equalizer::kEffectSwitches[static_cast<size_t>(e)].key, Switch(e)->value());
  }
  config.Write(ck::eq::kShown, state_.EqualizerShown);
}

}  // namespace orve
