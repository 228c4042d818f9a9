#pragma once
// The main window: a 304 x 150 borderless window with the transport
// buttons, the toggles of the satellite windows, a display panel and the
// seek bar. Its commands act on the engine and the shared state; changes
// of the engine reach it through the engine's signals.

#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include "widgets/ClickLabel.h"
#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"
#include "widgets/TrackBar.h"

namespace orve {

struct AppState;

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);

  static constexpr int kWidth = 304;
  static constexpr int kHeight = 150;

  // Recolours the window from the current scheme (its rows of ReloadTheme).
  void ApplyScheme();
  // Recolours every window from the current scheme, in the program's fixed
  // order, and restarts the idle animation.
  void ReloadTheme();
  // The repeat mode's texts on the button and the label.
  void ShowRepeatMode();
  // Runs the dynamic-add toggle: caption, flag negated, label colour.
  void AdvGlassButton12Click();
  // Paints the seek bar's thumb from the scheme.
  void PaintSeekThumb();
  // The equalizer toggle's caption and label for `shown`, without showing
  // or hiding anything (start-up and the equalizer window's own close).
  void ShowEqualizerToggle(bool shown);
  // The same for the playlist toggle; also sets PlaylistShown.
  void ShowPlaylistToggle(bool shown);
  // Corner radius 7 on the round-button set.
  void SetRoundButtons();
  // Play and pause commands as the buttons run them.
  void PlayClick();
  void PauseClick();
  void StopClick();
  // The keyboard's seek: 5 seconds forward (+) or back (-) on the seek bar,
  // then the bar's release step; only for a file that has been started.
  void SeekByKeys(bool forward);
  // The seek bar's release step: seek to its position (when something is
  // loaded), colours back.
  void SeekReleased();
  // The time display and the seek bar follow the playing entry (the
  // playlist's 50 ms tick runs it).
  void RefreshTime();
  // The current entry is gone: bit rate, time and tray texts at rest.
  void ClearNowPlaying();
  // A large add under way: its progress in the title strip.
  void ShowAddProgress(int done, int total);
  // "Файл(ы)": the open dialog (the open button, the menu, the Insert key).
  void OpenFilesClick();

  // Controls, named as the rest of the program knows them.
  GradientBackground* RzBackground2;  // the body
  GradientBackground* RzBackground1;  // the title strip
  QLabel* Label10;
  GlassButton* AdvGlassButton1;   // play
  GlassButton* AdvGlassButton2;   // pause
  GlassButton* AdvGlassButton3;   // stop
  GlassButton* AdvGlassButton4;   // open files
  GlassButton* AdvGlassButton5;   // repeat
  GlassButton* AdvGlassButton6;   // equalizer
  GlassButton* AdvGlassButton7;   // playlist
  GlassButton* AdvGlassButton8;   // about
  GlassButton* AdvGlassButton9;   // exit
  GlassButton* AdvGlassButton10;  // minimise
  GlassButton* AdvGlassButton11;  // menu
  GlassButton* AdvGlassButton12;  // dynamic adding
  QWidget* Panel1;
  QWidget* Image1;
  QLabel* Label9;   // bit rate
  QLabel* Label3;   // volume
  QLabel* Label2;   // time
  ClickLabel* Label4;  // repeat
  ClickLabel* Label5;  // equalizer
  ClickLabel* Label1;  // playlist
  ClickLabel* Label6;  // dynamic adding
  TrackBar* RzTrackBar1;  // seek bar
  QMenu* AdvPopupMenu2;
  QMenu* N1;          // "Добавить"
  QAction* N5;        // "Файл(ы)"
  QAction* Playlist1; // "Плейлист"
  QAction* URL1;      // "URL"
  QFileDialog* OpenDialog1;
  QTimer* Timer3;     // stream titles, every 5 s

 signals:
  // The equalizer or playlist toggle changed; the windows that exist follow.
  void EqualizerToggled(bool shown);
  void PlaylistToggled(bool shown);
  // "-": the application goes to the tray (or is minimised without one).
  void MinimiseRequested();
  void ColourSchemeRequested();
  // Files chosen in the open dialog, or dropped on the window.
  void FilesChosen(const QStringList& paths);
  void FilesDropped(const QStringList& names);
  // "Плейлист": the playlist window's M3U dialog; "URL": the URL window.
  void PlaylistFileRequested();
  void UrlDialogRequested();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  void BuildMenu();
  void Connect();
  GlassButton* Button(int left, int top, int width, int height, const QString& caption);
  ClickLabel* PanelLabel(int left, int top, int width, const QString& text);

  // Commands.
  void RepeatClick();
  void EqualizerClick();
  void PlaylistClick();
  void MenuClick();
  void SeekPressed();
  void TransportChanged(quint8 playState);
  void ShowStreamStatus();
  void SetLabelOn(QLabel* label, bool on);

  AppState& state_;
};

}  // namespace orve
