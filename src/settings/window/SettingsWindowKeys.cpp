// The settings window's controls bound to config.ini's keys: one table,
// read when the window is shown, written by Save in its order, and read as
// the values Apply hands on.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "session/AppState.h"
#include "settings/EncoderParams.h"
#include "settings/IniFile.h"
#include "settings/StoredValues.h"
#include "settings/window/SettingsWindow.h"
#include "widgets/SpinField.h"
#include "widgets/TrackBar.h"

namespace orve {

namespace ck = config;

// The controls' values as the stored values they stand for, so the records
// are filled by the same rules as from config.ini.
class SettingsWindow::ControlValues final : public StoredValues {
 public:
  explicit ControlValues(const std::vector<Binding>& bindings) : bindings_(bindings) {}
  QString Read(const ck::TextKey& k) override {
    const Binding* b = Find(k.section, k.key);
    return b && b->text ? b->text() : QString::fromUtf8(k.def);
  }
  int Read(const ck::IntKey& k) override {
    const Binding* b = Find(k.section, k.key);
    return b && b->number ? static_cast<int>(b->number()) : k.def;
  }
  bool Read(const ck::BoolKey& k) override {
    const Binding* b = Find(k.section, k.key);
    return b && b->number ? b->number() != 0 : k.def;
  }
  double Read(const ck::RealKey& k) override {
    const Binding* b = Find(k.section, k.key);
    return b && b->number ? b->number() : k.def;
  }

 private:
  const Binding* Find(const char* section, const char* key) const {
    for (const Binding& b : bindings_) {
      if (qstricmp(b.section, section) == 0 && qstricmp(b.key, key) == 0) return &b;
    }
    return nullptr;
  }
  const std::vector<Binding>& bindings_;
};

void SettingsWindow::Bind(QAbstractSlider* c, const ck::IntKey& k) {
  // A slider keeps a stored value within its own range.
  bindings_.push_back({k.section, k.key, [c, k](IniFile& f) { c->setValue(f.Read(k)); },
                       [c, k](IniFile& f) { f.Write(k, c->value()); }, [c] { return double(c->value()); }, {}});
}

void SettingsWindow::Bind(SpinField* c, const ck::IntKey& k) {
  bindings_.push_back({k.section, k.key, [c, k](IniFile& f) { c->setValue(f.Read(k)); },
                       [c, k](IniFile& f) { f.Write(k, c->WholeValue()); },
                       [c] { return double(c->WholeValue()); }, {}});
}

void SettingsWindow::Bind(SpinField* c, const ck::RealKey& k, bool whole) {
  // A field that hands on whole numbers stores them too; the others keep
  // the fraction the field shows.
  const auto value = [c, whole] { return whole ? double(c->WholeValue()) : c->value(); };
  bindings_.push_back({k.section, k.key, [c, k](IniFile& f) { c->setValue(f.Read(k)); },
                       [value, k](IniFile& f) { f.Write(k, value()); }, value, {}});
}

void SettingsWindow::Bind(QCheckBox* c, const ck::BoolKey& k) {
  bindings_.push_back({k.section, k.key, [c, k](IniFile& f) { c->setChecked(f.Read(k)); },
                       [c, k](IniFile& f) { f.Write(k, c->isChecked()); }, [c] { return c->isChecked() ? 1.0 : 0.0; },
                       {}});
}

void SettingsWindow::Bind(QComboBox* c, const ck::TextKey& k) {
  // A stored text that is not an item leaves the list without selection.
  bindings_.push_back({k.section, k.key, [c, k](IniFile& f) { c->setCurrentIndex(c->findText(f.Read(k))); },
                       [c, k](IniFile& f) { f.Write(k, c->currentText()); }, {}, [c] { return c->currentText(); }});
}

void SettingsWindow::Bind(QComboBox* c, const ck::IntKey& k) {
  bindings_.push_back({k.section, k.key,
                       [c, k](IniFile& f) {
                         const int i = f.Read(k);
                         c->setCurrentIndex(i >= 0 && i < c->count() ? i : -1);
                       },
                       [c, k](IniFile& f) { f.Write(k, c->currentIndex()); },
                       [c] { return double(c->currentIndex()); }, {}});
}

void SettingsWindow::Bind(QLineEdit* c, const ck::TextKey& k) {
  bindings_.push_back({k.section, k.key, [c, k](IniFile& f) { c->setText(f.Read(k)); },
                       [c, k](IniFile& f) { f.Write(k, c->text()); }, {}, [c] { return c->text(); }});
}

void SettingsWindow::BindModulation(const ModulationControls& c, const ck::ModulationKeys& k) {
  Bind(c.mix, k.dryWet);
  Bind(c.depth, k.depth);
  Bind(c.feedback, k.feedback);
  Bind(c.frequency, k.frequency, false);
  Bind(c.delay, k.delay, true);
  Bind(c.phase, k.phase);
}

void SettingsWindow::BindKeys() {
  Bind(bufferSlider_, ck::core::kBuffer);
  Bind(echoFeedbackSlider_, ck::echo::kFeedback);
  Bind(splashCheck_, ck::core::kSplash);
  Bind(echoMixSlider_, ck::echo::kDryWet);
  Bind(echoLeftDelayField_, ck::echo::kLeft);
  Bind(echoRightDelayField_, ck::echo::kRight);
  Bind(echoPanCheck_, ck::echo::kPan);
  Bind(cassetteCheck_, ck::cm::kOn);
  Bind(roundButtonsCheck_, ck::main::kRoundButtons);
  BindModulation(flanger_, ck::kFlanger);
  BindModulation(chorus_, ck::kChorus);
  Bind(compressorGainField_, ck::compressor::kGain);
  Bind(compressorAttackField_, ck::compressor::kAttack);
  Bind(compressorReleaseField_, ck::compressor::kRelease);
  Bind(compressorThresholdField_, ck::compressor::kThreshold);
  Bind(compressorRatioSlider_, ck::compressor::kRatio);
  Bind(compressorPredelayField_, ck::compressor::kPredelay);
  Bind(gargleRateSlider_, ck::gargle::kRate);
  Bind(reverb3dRoomSlider_, ck::reverb3d::kRoom);
  Bind(reverb3dRoomHFSlider_, ck::reverb3d::kRoomHF);
  const std::array<ck::IntKey, 10> fields{ck::reverb3d::kRoomRolloff,      ck::reverb3d::kDecayTime,
                                          ck::reverb3d::kDecayHFRatio,     ck::reverb3d::kReflections,
                                          ck::reverb3d::kReflectionsDelay, ck::reverb3d::kReverb,
                                          ck::reverb3d::kReverbDelay,      ck::reverb3d::kDiffusion,
                                          ck::reverb3d::kDensity,          ck::reverb3d::kHFReference};
  for (size_t i = 0; i < fields.size(); ++i) Bind(reverb3dFields_[i], fields[i]);
  Bind(reverbGainSlider_, ck::reverb::kInGain);
  Bind(reverbMixSlider_, ck::reverb::kMix);
  Bind(reverbTimeField_, ck::reverb::kTime);
  Bind(reverbHFRatioField_, ck::reverb::kHighFreqRatio);
  Bind(oggModeList_, ck::ogg::kMode);
  Bind(oggQualityList_, ck::ogg::kQuality);
  Bind(oggBitRateList_, ck::ogg::kBitRate);
  Bind(mp3ModeList_, ck::mp3::kMode);
  Bind(mp3QualityList_, ck::mp3::kQuality);
  Bind(mp3BitRateList_, ck::mp3::kBitRate);
  Bind(mp3PriorityList_, ck::mp3::kPriority);
  Bind(aacQualityList_, ck::aac::kQuality);
  Bind(proxyCheck_, ck::proxy::kOn);
  Bind(proxyEdit_, ck::proxy::kHttp);
}

void SettingsWindow::SendControlRecords() {
  ControlValues values(bindings_);
  SendRecords(values);
}

EncoderParams SettingsWindow::ControlEncoders() const {
  ControlValues values(bindings_);
  return EncoderParams::Read(values);
}

void SettingsWindow::SendRecords(StoredValues& values) {
  TCore& engine = *state_.Engine;
  for (int i = 0; i < kEffectCount; ++i) {
    const auto e = static_cast<Effect>(i);
    engine.Records.Fill(e, values);
    engine.SendEffectRecord(e);
  }
}

void SettingsWindow::ShowStored(IniFile& config) {
  for (const Binding& b : bindings_) b.show(config);
}

void SettingsWindow::StoreControls(IniFile& config) {
  for (const Binding& b : bindings_) b.store(config);
}

}  // namespace orve
