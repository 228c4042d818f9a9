#pragma once
// The equalizer window: a 304 x 150 borderless window with sixteen band
// sliders, four presets, the volume and sample-rate sliders and the seven
// effect switches. The slider positions are the state: every change is
// pushed to the engine (TCore::SetBandPosition, SetAttributes,
// SwitchEffect) and reaches the playing channel at once.
//
// The window knows the shared state and the engine but no other window: what
// the main window must show (volume text, toggle caption, rounded buttons,
// opacities) leaves through the signals below, which the application
// connects. Used from the UI thread only.

#include <QPointer>
#include <QWidget>
#include <array>

#include "engine/EffectRecords.h"
#include "equalizer/Presets.h"

class QLabel;
class QMenu;

namespace orve {

struct AppState;
class ClickLabel;
class GlassButton;
class GradientBackground;
class IniFile;
class TitleStrip;
class TrackBar;

class EqualizerWindow : public QWidget {
  Q_OBJECT
 public:
  // Builds the controls at their start positions and pushes the band
  // positions to the engine. Nothing is read from config.ini until
  // RestoreFromConfig.
  explicit EqualizerWindow(AppState& state, QWidget* parent = nullptr);

  static constexpr int kWidth = 304;
  static constexpr int kHeight = 150;
  static constexpr int kBandMax = 30;     // +15 dB
  static constexpr int kVolumeMax = 100;
  static constexpr int kSampleRateMax = 100000;

  // Start-up (the caller has placed the window): colours, then every
  // control restored from config.ini, the stored effects switched on, and
  // the start-up steps it carries for the other windows (reported by
  // signals). The docking record of the window is the caller's next step.
  void RestoreFromConfig();
  // Exit: writes the volume, position, bands, sample rate, switches and
  // shown state to `config` (config.ini). The caller defers the writes and
  // saves them with its own, once.
  void SaveToConfig(IniFile& config);

  // Recolours the window from the current scheme, the effect letters and
  // switches excepted.
  void ApplyScheme();
  // Runs the seven switch steps in the fixed effect order with the handles
  // as they stand: colours, and each effect added to or removed from the
  // channel. The scheme reload runs it after ApplyScheme; StartEntry after
  // resetting the handles to -1.
  void RunEffectSwitches();

  // The one key handler of the window, installed on all 25 sliders (the
  // controls that take the keyboard); nullptr removes the one installed.
  void SetKeyHandler(QObject* filter);

  // The volume (0..100) and the sample rate (0..100000 Hz, 0 = the
  // stream's own) that a new entry starts with.
  quint8 Volume() const;
  int SampleRate() const;
  // The volume keys: one step up (+1) or down (-1) within 0..100, then the
  // volume's change step, which runs even when the slider could not move.
  void StepVolume(int delta);

  // The panel's presets and the scale labels' double-clicks.
  void ApplyPreset(const equalizer::BandPositions& positions);
  void SetAllBandsToMax();
  void ResetBands();
  void SetAllBandsToMin();
  // The "X" button: hides the window and reports Closed().
  void Dismiss();

  // The controls, for tests that check looks and drive them as a user does.
  struct Controls {
    TitleStrip* titleStrip;
    QLabel* titleCaption;
    GlassButton* closeButton;
    QWidget* panel;
    ClickLabel* maxGainLabel;
    ClickLabel* zeroGainLabel;
    ClickLabel* minGainLabel;
    std::array<TrackBar*, kEqBands> bands;
    std::array<QLabel*, kEffectCount> effectLetters;
    std::array<TrackBar*, kEffectCount> effectSwitches;
    QLabel* volumeCaption;
    QLabel* sampleRateCaption;
    TrackBar* volumeSlider;
    TrackBar* sampleRateSlider;
    QMenu* presetMenu;
    QAction* rockPresetAction;
    QAction* popPresetAction;
    QAction* technoPresetAction;
    QAction* dancePresetAction;

    // Band slider k, 1..16; the switch and the letter of effect e.
    TrackBar* Band(int k) const { return bands[static_cast<size_t>(k - 1)]; }
    TrackBar* Switch(Effect e) const { return effectSwitches[static_cast<size_t>(e)]; }
    QLabel* Letter(Effect e) const { return effectLetters[static_cast<size_t>(e)]; }
  };
  Controls ControlsForTest() const;

  // The strip the window is dragged by; docking follows its moves.
  TitleStrip* TitleBar() const { return titleStrip_; }

 signals:
  // The main window's volume label takes `text` ("Грм:" + volume + "%").
  void VolumeTextChanged(const QString& text);
  // The volume slider was pressed (true) or released (false): the main
  // window's volume label is highlighted while pressed.
  void VolumeLabelHighlighted(bool pressed);
  // The "X" button (or any close of the window) hid it, EqualizerShown is
  // already false: the main window's toggle reads "ЭквВык" and its label
  // takes the off colour.
  void Closed();
  // Start-up restored the shown state: the main window's toggle caption
  // follows ("ЭквВкл" / "ЭквВык"), and when shown its label lights up.
  void EqualizerShownAtStartup(bool shown);
  // Start-up found main/vis set: corner radius 7 on the main window's
  // round-button set.
  void RoundButtonsRequested();
  // Start-up read the three stored opacities (raw values, 255 = opaque);
  // each window whose value is not 255 switches blending on with the low
  // 8 bits of it. This window has already applied `eqTrs` to itself.
  void OpacitiesRequested(int mainTrs, int plsTrs, int eqTrs);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void BuildPanel();
  void BuildBands();
  void BuildEffectRow();
  void BuildMenu();
  void Connect();
  void PaintThumbs();
  ClickLabel* PanelLabel(const QRect& geometry, const QString& text, Qt::Alignment align);
  TrackBar* Slider(Qt::Orientation orientation, const QRect& geometry, int max, const QString& hint);
  TrackBar* Band(int k) const { return bands_[static_cast<size_t>(k - 1)]; }
  TrackBar* Switch(Effect e) const { return effectSwitches_[static_cast<size_t>(e)]; }
  QLabel* Letter(Effect e) const { return effectLetters_[static_cast<size_t>(e)]; }

  // Handlers.
  void BandChange(int k);
  void BandPressed(TrackBar* band);
  void BandReleased(TrackBar* band);
  void ApplyVolume();
  void OnVolumePressed();
  void OnVolumeReleased();
  void ApplySampleRate();
  void SwitchChange(Effect e);
  void SetAllBands(int position);
  void SendAttributes();
  void SetPressedColour(TrackBar* slider, bool pressed);
  void SetLetterColour(Effect e, bool on);

  // Start-up steps that read config.ini.
  void RestoreSliders(IniFile& config);
  void RestoreShown(IniFile& config);
  void RestoreOtherWindows(IniFile& config);

  AppState& state_;
  QPointer<QObject> keyHandler_;

  GradientBackground* bodyBackground_;
  TitleStrip* titleStrip_;
  QLabel* titleCaption_;
  GlassButton* closeButton_;
  QWidget* panel_;  // the black panel; a right click there opens the presets
  GradientBackground* bandField_;
  ClickLabel* maxGainLabel_;
  ClickLabel* zeroGainLabel_;
  ClickLabel* minGainLabel_;
  std::array<TrackBar*, kEqBands> bands_;
  std::array<QLabel*, kEffectCount> effectLetters_;
  std::array<TrackBar*, kEffectCount> effectSwitches_;
  QLabel* volumeCaption_;
  QLabel* sampleRateCaption_;
  TrackBar* volumeSlider_;
  TrackBar* sampleRateSlider_;
  QMenu* presetMenu_;
  QAction* rockPresetAction_;
  QAction* popPresetAction_;
  QAction* technoPresetAction_;
  QAction* dancePresetAction_;
};

}  // namespace orve
