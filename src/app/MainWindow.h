#pragma once
// The main window: a 304 x 150 borderless window with the transport
// buttons, the toggles of the satellite windows, a display panel and the
// seek bar. Its commands act on the engine and the shared state; changes
// of the engine reach it through the engine's signals. Other windows reach
// it through the application object and the methods below.

#include <QWidget>
#include <array>
#include <cstdint>

class QFileDialog;
class QLabel;
class QMenu;
class QTimer;

namespace orve {

struct AppState;
class ClickLabel;
class DrawingSurface;
struct DisplayColours;
class GlassButton;
class GradientBackground;
class TitleStrip;
class TrackBar;

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);

  static constexpr int kWidth = 304;
  static constexpr int kHeight = 150;
  static constexpr char kTimeAtRest[] = "0:00/0:00";  // the time display with nothing loaded

  // Recolours the window from the current scheme.
  void ApplyScheme();
  // The repeat mode's texts on the button and the label.
  void ShowRepeatMode();
  // Start-up: dynamic adding as config.ini keeps it, with its caption and colour.
  void RestoreDynamicAdd(bool on);
  // The equalizer toggle's caption and label for `shown`, without showing
  // or hiding anything (start-up and the equalizer window's own close).
  void ShowEqualizerToggle(bool shown);
  // The same for the playlist toggle; also sets PlaylistShown.
  void ShowPlaylistToggle(bool shown);
  // Corner radius 7 (round) or 0 on the round-button set.
  void SetRoundButtons(bool round);

  // The transport commands as the buttons run them.
  void Play();
  void Pause();
  void Stop();
  // "Файл(ы)": the open dialog (the open button, the menu, the Insert key).
  void ShowOpenFilesDialog();
  // The keyboard's seek: 5 seconds forward (+) or back (-) on the seek bar,
  // then the bar's release step; only for a file that has been started.
  void SeekByKeys(bool forward);
  // The seek bar at `seconds`, then its release step (the cassette resume).
  void SeekTo(int seconds);
  // The seek bar's release step: seek to its position (when something is
  // loaded), colours back.
  void CommitSeek();
  // Where the seek bar stands, and its end, in seconds.
  int SeekPosition() const;
  int SeekLength() const;
  // The time display's text.
  QString TimeDisplayText() const;
  // The seek bar runs from 0 to `maximum` seconds (0 for a stream).
  void SetSeekRange(int maximum);
  // Routes the seek bar's keys through `filter` (the shared key table).
  void InstallSeekKeys(QObject* filter);

  // An entry has started: its length at rest ("0:00/" + length), lit.
  void ShowStartTime(uint32_t seconds);
  // The bit rate label: a rate, "Ошибка", or empty.
  void ShowBitRate(const QString& text);
  // The volume label ("Грм:N%"), highlighted while the volume slider is held.
  void ShowVolumeText(const QString& text);
  void HighlightVolume(bool pressed);
  // The time display and the seek bar follow the playing entry (the
  // playlist's 50 ms tick runs it).
  void RefreshTime();
  // The current entry is gone: bit rate, time and tray texts at rest.
  void ClearNowPlaying();
  // A large add under way: its progress in the title strip.
  void ShowAddProgress(int done, int total);

  // The pop-up menu, which the tray icon shares.
  QMenu* MainMenu() const { return mainMenu_; }

  // The controls, for tests that check looks and drive them as a user does.
  struct Controls {
    TitleStrip* titleStrip;
    QLabel* titleCaption;
    GradientBackground* bodyBackground;
    GlassButton* playButton;
    GlassButton* pauseButton;
    GlassButton* stopButton;
    GlassButton* openFilesButton;
    GlassButton* repeatButton;
    GlassButton* equalizerButton;
    GlassButton* playlistButton;
    GlassButton* closeButton;
    GlassButton* minimiseButton;
    GlassButton* dynamicAddButton;
    QWidget* displayPanel;
    DrawingSurface* visualisationSurface;
    QLabel* bitRateLabel;
    QLabel* volumeLabel;
    QLabel* timeLabel;
    ClickLabel* repeatLabel;
    ClickLabel* equalizerLabel;
    ClickLabel* playlistLabel;
    ClickLabel* dynamicAddLabel;
    TrackBar* seekBar;
    QMenu* mainMenu;
    QMenu* addMenu;
    QFileDialog* openFilesDialog;
    QTimer* visualisationTimer;
    QTimer* idleTimer;
    QTimer* titleTimer;
    QTimer* entryEndTimer;
    GlassButton* aboutButton;
  };
  Controls ControlsForTest();

  // The strip the window is dragged by; the docked windows follow its moves.
  TitleStrip* TitleBar() const { return titleStrip_; }

 signals:
  // The equalizer or playlist toggle changed; the windows that exist follow.
  void EqualizerToggled(bool shown);
  void PlaylistToggled(bool shown);
  // "-": the application goes to the tray (or is minimised without one).
  void MinimiseRequested();
  void ColourSchemeRequested();
  // "Настройки", "Транспарантность", "База I-net радио", "Музыкальная база".
  void SettingsRequested();
  void TransparencyRequested();
  // "?", "Автор" (and F1 through the shared keys): the about window.
  void AboutRequested();
  void RadioBaseRequested();
  void MusicBaseRequested();
  // Files chosen in the open dialog, or dropped on the window.
  void FilesChosen(const QStringList& paths);
  void FilesDropped(const QStringList& names);
  // "Плейлист": the playlist window's M3U dialog; "URL": the URL window.
  void PlaylistFileRequested();
  void UrlDialogRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  QFileDialog* OpenFilesDialog();
  bool DisplayShown() const;
  // The drawing timers run only while the display can be seen.
  void FollowDisplayVisibility(bool hiding = false);
  void BuildDisplay();
  void BuildMenu();
  void Connect();
  ClickLabel* PanelLabel(int left, int top, int width, const QString& text);

  void CycleRepeatMode();
  void ToggleEqualizer();
  void TogglePlaylist();
  void ToggleDynamicAdd();
  void ShowMainMenu();
  void BeginSeekDrag();
  void ShowTransportState(quint8 playState);
  void ShowStreamStatus();
  void SetLabelOn(QLabel* label, bool on);
  void PaintSeekThumb();

  // The display (MainWindowDisplay.cpp).
  void BuildDisplayTimers();
  DisplayColours Colours() const;
  void DrawVisualisation();
  void AnimateIdle();
  void BlinkNearTheEnd();
  void ScrollWindowTitle();
  void CycleVisMode();

  AppState& state_;

  TitleStrip* titleStrip_;
  QLabel* titleCaption_;
  GradientBackground* bodyBackground_;
  GlassButton* playButton_;
  GlassButton* pauseButton_;
  GlassButton* stopButton_;
  GlassButton* openFilesButton_;
  GlassButton* repeatButton_;
  GlassButton* equalizerButton_;
  GlassButton* playlistButton_;
  GlassButton* aboutButton_;
  GlassButton* closeButton_;
  GlassButton* minimiseButton_;
  GlassButton* menuButton_;
  GlassButton* dynamicAddButton_;
  QWidget* displayPanel_;
  DrawingSurface* visualisationSurface_;
  std::array<float, 512> magnitudes_{};  // the visualisation's buffers, reused every tick
  std::array<int16_t, 1024> wave_{};
  QLabel* bitRateLabel_;
  QLabel* volumeLabel_;
  QLabel* timeLabel_;
  ClickLabel* repeatLabel_;
  ClickLabel* equalizerLabel_;
  ClickLabel* playlistLabel_;
  ClickLabel* dynamicAddLabel_;
  TrackBar* seekBar_;
  QMenu* mainMenu_;
  QMenu* addMenu_;
  QFileDialog* openFilesDialog_ = nullptr;  // made by OpenFilesDialog()
  QTimer* streamTitleTimer_;
  QTimer* entryEndTimer_;       // 400 ms: the time display's blink, dynamic adding
  QTimer* visualisationTimer_;  // 30 ms
  QTimer* idleTimer_;           // 50 ms: the idle animation
  QTimer* titleTimer_;          // 200 ms: the now-playing text through the window title
  bool watchingWindow_ = false;  // its native window's expose events are followed
};

}  // namespace orve
