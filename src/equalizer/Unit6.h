#pragma once
// The equalizer window: a 304 x 150 borderless window with sixteen band
// sliders, four presets, the volume and sample-rate sliders and the seven
// effect switches. The slider positions are the state: the engine reads
// the band positions through TCore::BandPosition, and every change is sent
// to the playing channel at once.
//
// The window knows the shared state and the engine but no other window: what
// the main window must show (volume text, toggle caption, rounded buttons,
// opacities) leaves through the signals below, which the application
// connects. Used from the UI thread only.

#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <array>

#include "engine/EffectRecords.h"
#include "widgets/ClickLabel.h"
#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"
#include "widgets/TrackBar.h"

namespace orve {

struct AppState;
class IniFile;

class TForm6 : public QWidget {
  Q_OBJECT
 public:
  // Builds the controls at their start positions and lets the engine read
  // the band sliders. Nothing is read from config.ini until FormCreate.
  explicit TForm6(AppState& state, QWidget* parent = nullptr);
  ~TForm6() override;

  static constexpr int kWidth = 304;
  static constexpr int kHeight = 150;
  static constexpr int kBandMax = 30;     // +15 dB
  static constexpr int kVolumeMax = 100;
  static constexpr int kSampleRateMax = 100000;

  // Start-up: colours, then every control restored from config.ini, the
  // stored effects switched on, and the start-up steps it carries for the
  // other windows (reported by signals). The docking record of the window
  // is the caller's next step.
  void FormCreate();
  // Exit: writes the volume, position, bands, sample rate, switches and
  // shown state to config.ini. Throws FileError when the file cannot be
  // written; the caller reports it.
  void FormDestroy();

  // Recolours the window from the current scheme (its rows of ReloadTheme),
  // the effect letters and switches excepted.
  void ApplyScheme();
  // Runs the seven switch steps in the fixed effect order with the handles
  // as they stand: colours, and each effect added to or removed from the
  // channel. The scheme reload runs it after ApplyScheme; StartEntry after
  // resetting the handles to -1.
  void RunEffectSwitches();

  // The one key handler of the window, installed on all 25 sliders (the
  // controls that take the keyboard); nullptr removes the one installed.
  void SetKeyHandler(QObject* filter);

  // Preset and shortcut commands (the menu items and the scale labels).
  void Rock1Click();
  void Pop1Click();
  void echno1Click();
  void Dance1Click();
  void Label1DblClick();
  void Label2DblClick();
  void Label3DblClick();
  // The "X" button: hides the window and reports Closed().
  void AdvGlassButton9Click();
  // The volume slider's change step: the volume reaches the channel and
  // the main window's text (the keyboard runs it even when nothing moved).
  void TrackBar1Change();

  // The switch of effect e and its letter label.
  TrackBar* Switch(Effect e) const { return Switches[static_cast<size_t>(e)]; }
  QLabel* Letter(Effect e) const { return Letters[static_cast<size_t>(e)]; }
  // Band slider k, 1..16.
  TrackBar* Band(int k) const { return Bands[static_cast<size_t>(k - 1)]; }

  // Controls, named as the rest of the program knows them.
  GradientBackground* RzBackground4;  // the body
  GradientBackground* RzBackground3;  // the title strip
  QLabel* Label10;                    // the caption
  GlassButton* AdvGlassButton9;       // "X"
  QWidget* Panel1;                    // the black panel
  GradientBackground* RzBackground1;  // the field behind the band sliders
  ClickLabel* Label1;                 // "+15"
  ClickLabel* Label2;                 // "0"
  ClickLabel* Label3;                 // "-15"
  std::array<TrackBar*, kEqBands> Bands;           // RzTrackBar1 .. RzTrackBar16
  std::array<QLabel*, kEffectCount> Letters;       // Label4, Label7, Label8, Label9, Label11, Label12, Label13
  std::array<TrackBar*, kEffectCount> Switches;    // RzTrackBar17 .. RzTrackBar23
  QLabel* Label5;                     // "Громкость"
  QLabel* Label6;                     // "SR"
  TrackBar* TrackBar1;                // volume
  TrackBar* RzTrackBar170;            // sample rate
  QMenu* PopupMenu1;                  // the panel's presets
  QAction* Rock1;
  QAction* Pop1;
  QAction* echno1;
  QAction* Dance1;

 signals:
  // The main window's volume label takes `text` ("Грм:" + volume + "%").
  void VolumeTextChanged(const QString& text);
  // The volume slider was pressed (true) or released (false): the main
  // window's volume label takes colour 3 while pressed, 1 after.
  void VolumeLabelHighlighted(bool pressed);
  // The "X" button (or any close of the window) hid it, EqualizerShown is
  // already false: the main window's toggle reads "ЭквВык" and its label
  // takes colour 0.
  void Closed();
  // Start-up restored the shown state: the main window's toggle caption
  // follows ("ЭквВкл" / "ЭквВык"), and when shown its label takes colour 1.
  void EqualizerShownAtStartup(bool shown);
  // Start-up found main/vis set: corner radius 7 on the main window's
  // buttons 1..7 and 12 and the playlist window's buttons 1..3.
  void RoundButtonsRequested();
  // Start-up read the three stored opacities (raw values, 255 = opaque);
  // each window whose value is not 255 switches blending on with the low
  // 8 bits of it. This window has already applied `eqTrs` to itself.
  void OpacitiesRequested(int mainTrs, int plsTrs, int eqTrs);

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

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

  // Handlers.
  void BandChange(int k);
  void BandPressed(TrackBar* band);
  void BandReleased(TrackBar* band);
  void TrackBar1MouseDown();
  void TrackBar1MouseUp();
  void RzTrackBar170Change();
  void SwitchChange(Effect e);
  void SetBandPositions(const std::array<int, kEqBands>& positions);
  void SetAllBands(int position);
  void SendAttributes();
  void SetPressedColour(TrackBar* slider, bool pressed);
  void SetLetterColour(Effect e, bool on);
  void SetTitleActive(bool active);

  // Start-up steps that read config.ini.
  void RestoreSliders(IniFile& config);
  void RestoreShown(IniFile& config);
  void RestoreOtherWindows(IniFile& config);

  QColor Colour(int index) const;

  AppState& state_;
  QPointer<QObject> keyHandler_;
};

}  // namespace orve
