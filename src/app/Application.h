#pragma once
// The application object: owns the shared state and the record of the
// windows, and is how windows reach each other. Errors raised by file
// operations inside event handlers end the handler and are shown to the
// user in a message box.

#include <QApplication>
#include <QPointer>
#include <functional>
#include <memory>

#include "session/AppState.h"
#include "settings/FileError.h"

namespace orve {

class AboutWindow;
class ColourSchemeWindow;
class EqualizerWindow;
class InfoWindow;
class MainWindow;
class MusicBase;
class MusicBaseWindow;
class NowPlayingWindow;
class PlaylistWindow;
class RadioBaseWindow;
class SearchWindow;
class SettingsWindow;
class SplashWindow;
class TrayIcon;
class TransparencyWindow;
class UnixSignals;
class UrlWindow;

inline constexpr char kAppTitle[] = "ORVE 1.9";
inline constexpr char kAppVersion[] = "1.9";

// The program's windows, filled by Startup and emptied by Shutdown; a
// window that does not exist (yet, or any more) is nullptr.
struct WindowSet {
  MainWindow* main = nullptr;
  PlaylistWindow* playlist = nullptr;
  EqualizerWindow* equalizer = nullptr;
  NowPlayingWindow* nowPlaying = nullptr;
  AboutWindow* about = nullptr;
  // The splash lives only while it shows (it deletes itself).
  QPointer<SplashWindow> splash;
  // The playlist's small windows, the settings, colour-scheme and transparency
  // windows (children of the main window).
  SettingsWindow* settings = nullptr;
  MusicBaseWindow* musicBase = nullptr;
  RadioBaseWindow* radioBase = nullptr;
  UrlWindow* url = nullptr;
  InfoWindow* info = nullptr;
  SearchWindow* search = nullptr;
  ColourSchemeWindow* schemes = nullptr;
  TransparencyWindow* transparency = nullptr;
  TrayIcon* tray = nullptr;
};

class Application : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);
  ~Application() override;

  static Application* Instance();
  AppState& State() { return state_; }
  WindowSet& Windows() { return windows_; }
  // The music base (MusicBase of the shared state), open from the main
  // window's creation to the end of the shutdown; nullptr outside.
  MusicBase* Base() const { return musicBase_.get(); }
  void OpenMusicBase();
  void CloseMusicBase();

  // Recolours every window from the current scheme, in the program's fixed
  // order, and restarts the idle animation.
  void ReloadTheme();

  // Corner radius 7 (round) or 0 on the main and playlist windows' round-button sets.
  void SetRoundButtons(bool round);

  // "-": to the tray when the desktop has one, else an ordinary minimise.
  void MinimiseToTray();
  // Back from the tray.
  void RestoreFromTray();
  // The main window brought to the front and given the focus, from the
  // tray or a minimised state too (another start of the program, MPRIS).
  void RaiseMainWindow();

  bool notify(QObject* receiver, QEvent* event) override;
  // While set, told how long each event handled straight from the event
  // loop took (ms); not one handled while a nested loop (a modal box) ran,
  // as that time is waiting, not work. Costs two clock readings an event.
  void WatchEvents(std::function<void(double ms)> watcher) { eventWatcher_ = std::move(watcher); }

  // The message box for a file error; once the program is being ended by
  // a signal, standard error instead (nobody may be there to close a box).
  static void ShowError(const QString& message);
  // SIGTERM or SIGINT has come: the program is on its way out.
  bool Terminating() const { return terminating_; }
  // Runs `step`; a file error it raises is shown to the user and ends only
  // that step. False when it did.
  template <class Step>
  static bool ReportFileErrors(Step&& step) {
    try {
      step();
      return true;
    } catch (const FileError& e) {
      ShowError(e.message());
    }
    return false;
  }

 private:
  void InstallQtTranslations();
  void OnTerminationRequested();

  AppState state_;
  WindowSet windows_;
  std::unique_ptr<MusicBase> musicBase_;
  UnixSignals* signals_ = nullptr;
  bool terminating_ = false;
  std::function<void(double ms)> eventWatcher_;
  int notifyDepth_ = 0;
  int outerLoopLevel_ = 0;
  bool nestedLoopRan_ = false;
};

}  // namespace orve
