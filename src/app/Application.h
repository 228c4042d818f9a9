#pragma once
// The application object: owns the shared state and is how windows reach
// each other. Errors raised by file operations inside event handlers end
// the handler and are shown to the user in a message box.

#include <QApplication>
#include <memory>

#include "app/AppState.h"

namespace orve {

class FileError;
class TForm1;
class TForm2;
class TForm6;
class TForm8;
class TForm11;
class TForm14;
class TrayIcon;
class UnixSignals;

inline constexpr char kAppTitle[] = "ORVE 1.9";
inline constexpr char kAppVersion[] = "1.9";

class TApplication : public QApplication {
  Q_OBJECT
 public:
  TApplication(int& argc, char** argv);
  ~TApplication() override;

  static TApplication* Instance();
  AppState& State() { return state_; }

  TForm1* MainWindow() const { return mainWindow_; }
  void SetMainWindow(TForm1* window) { mainWindow_ = window; }
  TForm2* Playlist() const { return playlist_; }
  void SetPlaylist(TForm2* window) { playlist_ = window; }
  TForm6* Equalizer() const { return equalizer_; }
  void SetEqualizer(TForm6* window) { equalizer_ = window; }
  // The playlist's small windows (children of the main window).
  TForm8* UrlWindow() const { return urlWindow_; }
  TForm11* InfoWindow() const { return infoWindow_; }
  TForm14* SearchWindow() const { return searchWindow_; }
  void SetPlaylistDialogs(TForm8* url, TForm11* info, TForm14* search) {
    urlWindow_ = url;
    infoWindow_ = info;
    searchWindow_ = search;
  }
  TrayIcon* Tray() const { return tray_; }
  void SetTray(TrayIcon* tray);

  // "-": to the tray when the desktop has one, else an ordinary minimise.
  void MinimiseToTray();
  // Back from the tray.
  void RestoreFromTray();

  bool notify(QObject* receiver, QEvent* event) override;

  // The message box for a file error.
  static void ShowError(const QString& message);

 private:
  void OnTerminationRequested();

  AppState state_;
  TForm1* mainWindow_ = nullptr;
  TForm2* playlist_ = nullptr;
  TForm6* equalizer_ = nullptr;
  TForm8* urlWindow_ = nullptr;
  TForm11* infoWindow_ = nullptr;
  TForm14* searchWindow_ = nullptr;
  TrayIcon* tray_ = nullptr;
  UnixSignals* signals_ = nullptr;
};

}  // namespace orve
