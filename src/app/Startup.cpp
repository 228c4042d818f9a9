#include "app/Startup.h"

#include <utility>

#include "app/AboutWindow.h"
#include "app/AppDir.h"
#include "app/Application.h"
#include "app/Docking.h"
#include "app/Keys.h"
#include "app/MainWindow.h"
#include "app/MprisService.h"
#include "app/NowPlayingWindow.h"
#include "app/StartEntry.h"
#include "app/SplashWindow.h"
#include "app/StartLayout.h"
#include "app/TrayIcon.h"
#include "appearance/ColourSchemeWindow.h"
#include "appearance/TransparencyWindow.h"
#include "equalizer/EqualizerWindow.h"
#include "library/MusicBase.h"
#include "library/MusicBaseWindow.h"
#include "library/RadioBase.h"
#include "library/RadioBaseWindow.h"
#include "playlist/InfoWindow.h"
#include "playlist/PlaylistFiles.h"
#include "playlist/PlaylistWindow.h"
#include "playlist/SearchWindow.h"
#include "playlist/UrlWindow.h"
#include "settings/window/SettingsWindow.h"
#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"
#include "settings/SafeFile.h"
#include "widgets/SkinColours.h"

namespace orve {
namespace {

namespace ck = config;

constexpr int kEncodeBalloonMs = 10000;

QString ConfigName(const AppState& state) { return state.AppDir + QString::fromLatin1(ck::kFileName); }

// The main window's creation: folder, scheme, engine, toggles.
MainWindow* CreateMainWindow(Application& app) {
  AppState& state = app.State();
  state.AppDir = ResolveAppDir();
  for (const char* name : {ck::kFileName, kDefaultPlaylistName, kMusicBaseFileName, kRadioBaseFileName}) {
    RemoveStaleSaves(state.AppDir + QString::fromLatin1(name));
  }
  InstallBundledThemes(state.AppDir);
  InstallExampleRadioBase(state.AppDir);
  IniFile config(ConfigName(state));
  state.Scheme = LoadTheme(state.AppDir, config.Read(ck::themes::kName));
  state.Engine->Init(state.AppDir);
  app.OpenMusicBase();
  state.PlaylistShown = false;
  state.SeekDragging = false;
  state.EqualizerShown = false;
  state.RepeatMode = RepeatModes::Off;
  auto* main = new MainWindow();
  app.Windows().main = main;
  // The splash greets over the windows as they come; start-up does not wait for it.
  if (config.Read(ck::core::kSplash)) {
    app.Windows().splash = new SplashWindow();
    app.Windows().splash->Start();
  }
  main->RestoreDynamicAdd(config.Read(ck::main::kDynamicAdd));
  return main;
}

// The now-playing window: the lines follow each start of an entry and each
// station title, the time and bar follow the time display.
void CreateNowPlayingWindow(Application& app) {
  // Without a parent: it shows while the main window is hidden in the tray.
  auto* nowPlaying = new NowPlayingWindow();
  app.Windows().nowPlaying = nowPlaying;
  nowPlaying->ApplyScheme(app.State().Scheme);
  QObject::connect(app.State().Engine.get(), &TCore::NowPlayingChanged, nowPlaying,
                   [nowPlaying](const QString& artist, const QString& title) { nowPlaying->ShowLines(title, artist); });
}

// The playlist window: its own state from config.ini, and what its
// creation restores for the main window.
void CreatePlaylist(Application& app, IniFile& config, const WindowLayout& layout) {
  MainWindow* main = app.Windows().main;
  auto* playlist = new PlaylistWindow(app.State());
  app.Windows().playlist = playlist;
  main->move(layout.main.topLeft());
  playlist->setGeometry(layout.playlist);
  QObject::connect(playlist, &PlaylistWindow::ShownAtStartup, main, &MainWindow::ShowPlaylistToggle);
  QObject::connect(playlist, &PlaylistWindow::Closed, main, [main] { main->ShowPlaylistToggle(false); });
  QObject::connect(main, &MainWindow::PlaylistToggled, playlist, &QWidget::setVisible);
  QObject::connect(playlist, &PlaylistWindow::StartEntryRequested, &app, [&app] { StartEntry(app); });
  QObject::connect(playlist, &PlaylistWindow::NowPlayingCleared, main, &MainWindow::ClearNowPlaying);
  QObject::connect(playlist, &PlaylistWindow::TimeDisplaysDue, main, &MainWindow::RefreshTime);
  NowPlayingWindow* nowPlaying = app.Windows().nowPlaying;
  QObject::connect(playlist, &PlaylistWindow::TimeDisplaysDue, nowPlaying, [main, nowPlaying] {
    nowPlaying->ShowTime(main->TimeDisplayText(), main->SeekPosition(), main->SeekLength());
  });
  QObject::connect(playlist, &PlaylistWindow::NowPlayingCleared, nowPlaying, &NowPlayingWindow::Clear);
  QObject::connect(playlist, &PlaylistWindow::OpenFilesRequested, main, &MainWindow::ShowOpenFilesDialog);
  QObject::connect(main, &MainWindow::FilesChosen, playlist, [playlist](const QStringList& paths) {
    playlist->AddFiles(paths);
  });
  QObject::connect(main, &MainWindow::FilesDropped, playlist, &PlaylistWindow::AddDroppedFiles);
  // Queued: the box must not open inside a drop or a dialog's return.
  QObject::connect(playlist, &PlaylistWindow::AddRefused, &app, &Application::ShowError, Qt::QueuedConnection);
  QObject::connect(playlist, &PlaylistWindow::AddProgress, main, &MainWindow::ShowAddProgress);
  QObject::connect(main, &MainWindow::PlaylistFileRequested, playlist, &PlaylistWindow::ShowLoadPlaylistDialog);
  playlist->InstallListKeys(new SharedKeys(app, false, playlist));
  // The music base saves each slice of a large add before the add goes on.
  playlist->Adder().SetSliceEnd([&app] {
    if (MusicBase* base = app.Base()) base->Flush();
  });
  playlist->RestoreFromConfig(config);
  main->ShowRepeatMode();
}

// The equalizer window: created after the playlist's step, it restores its
// sliders and switches and a few settings of the main window.
void CreateEqualizer(Application& app, const WindowLayout& layout) {
  MainWindow* main = app.Windows().main;
  auto* eq = new EqualizerWindow(app.State());
  app.Windows().equalizer = eq;
  eq->move(layout.equalizer.topLeft());
  QObject::connect(eq, &EqualizerWindow::VolumeTextChanged, main, &MainWindow::ShowVolumeText);
  QObject::connect(eq, &EqualizerWindow::VolumeLabelHighlighted, main, &MainWindow::HighlightVolume);
  QObject::connect(eq, &EqualizerWindow::Closed, main, [main] { main->ShowEqualizerToggle(false); });
  QObject::connect(eq, &EqualizerWindow::EqualizerShownAtStartup, main, &MainWindow::ShowEqualizerToggle);
  QObject::connect(eq, &EqualizerWindow::RoundButtonsRequested, &app, [&app] { app.SetRoundButtons(true); });
  QObject::connect(eq, &EqualizerWindow::OpacitiesRequested, main, [main, &app](int mainTrs, int plsTrs, int) {
    ApplyStoredOpacity(main, mainTrs);
    ApplyStoredOpacity(app.Windows().playlist, plsTrs);
  });
  QObject::connect(main, &MainWindow::EqualizerToggled, eq, &QWidget::setVisible);
  eq->SetKeyHandler(new SharedKeys(app, true, eq));
  eq->RestoreFromConfig();
}

// The URL window, whose creation fills the playlist (the command line, or
// the saved playlist and the cassette resume); then the information and
// search windows.
void CreatePlaylistDialogs(Application& app, const QStringList& arguments) {
  WindowSet& windows = app.Windows();
  MainWindow* main = windows.main;
  PlaylistWindow* playlist = windows.playlist;
  auto* url = new UrlWindow(app.State(), main);
  QObject::connect(playlist, &PlaylistWindow::UrlDialogRequested, url, &UrlWindow::Open);
  QObject::connect(main, &MainWindow::UrlDialogRequested, url, &UrlWindow::Open);
  QObject::connect(url, &UrlWindow::UrlAdded, playlist, qOverload<const QString&>(&PlaylistWindow::AddStream));
  auto* info = new InfoWindow(app.State(), main);
  QObject::connect(playlist, &PlaylistWindow::InfoRequested, info, &InfoWindow::ShowFor);
  auto* search = new SearchWindow(app.State(), main);
  QObject::connect(playlist, &PlaylistWindow::SearchRequested, search, &SearchWindow::Open);
  QObject::connect(search, &SearchWindow::EntryChosen, playlist, &PlaylistWindow::StartIndex);
  QObject::connect(search, &SearchWindow::ChooseFinished, playlist, &PlaylistWindow::RefreshTimeText);
  windows.url = url;
  windows.info = info;
  windows.search = search;
  // A Default.pld that cannot be read leaves the playlist empty; start-up goes on.
  Application::ReportFileErrors([&] { playlist->StartupLoader(arguments, [&app] { CassetteResume(app); }); });
}

// The settings window: the destination folders fill the conversion menus'
// slots, and the proxy is handed to the engine once more.
void CreateSettingsWindow(Application& app) {
  MainWindow* main = app.Windows().main;
  auto* settings = new SettingsWindow(app.State(), main);
  app.Windows().settings = settings;
  QObject::connect(main, &MainWindow::SettingsRequested, settings, &SettingsWindow::Open);
  QObject::connect(settings, &SettingsWindow::RoundButtonsChanged, &app, &Application::SetRoundButtons);
  QObject::connect(settings, &SettingsWindow::FolderSlotsChanged, app.Windows().playlist,
                   &PlaylistWindow::SetConversionFolders);
  settings->RestoreFromConfig();
}

// The music base and radio base windows: what they choose is started or
// appended by the playlist window.
void CreateLibraryWindows(Application& app) {
  WindowSet& windows = app.Windows();
  MainWindow* main = windows.main;
  PlaylistWindow* playlist = windows.playlist;
  auto* musicBase = new MusicBaseWindow(app.State(), *app.Base(), main);
  windows.musicBase = musicBase;
  QObject::connect(musicBase, &MusicBaseWindow::StartRequested, playlist, &PlaylistWindow::StartIndex);
  QObject::connect(musicBase, &MusicBaseWindow::AppendRequested, playlist, &PlaylistWindow::AppendFile);
  QObject::connect(main, &MainWindow::MusicBaseRequested, musicBase, &MusicBaseWindow::Open);
  QObject::connect(playlist, &PlaylistWindow::MusicBaseRequested, musicBase, &MusicBaseWindow::Open);
  QObject::connect(playlist, &PlaylistWindow::RandomTitleRequested, musicBase, &MusicBaseWindow::PlayRandomTitle);
  // Shown, the window follows every add that reached the base.
  QObject::connect(app.Base(), &MusicBase::Changed, musicBase, [musicBase] {
    if (musicBase->isVisible()) musicBase->Reload();
  });
  auto* radioBase = new RadioBaseWindow(app.State(), main);
  windows.radioBase = radioBase;
  QObject::connect(main, &MainWindow::RadioBaseRequested, radioBase, &RadioBaseWindow::Open);
  QObject::connect(playlist, &PlaylistWindow::RadioBaseRequested, radioBase, &RadioBaseWindow::Open);
  QObject::connect(radioBase, &RadioBaseWindow::StationChosen, playlist,
                   [&app, playlist](const QString& url, const QString& name) {
                     const auto i = app.State().Engine->Paths.indexOf(url);
                     if (i >= 0) {
                       playlist->StartIndex(static_cast<int>(i));
                     } else {
                       playlist->AddStream(url, name);
                     }
                   });
}

// The colour-scheme and transparency windows.
void CreateAppearanceWindows(Application& app) {
  MainWindow* main = app.Windows().main;
  auto* transparency = new TransparencyWindow({main, app.Windows().equalizer, app.Windows().playlist}, main);
  app.Windows().transparency = transparency;
  QObject::connect(main, &MainWindow::TransparencyRequested, transparency, &TransparencyWindow::Open);
  auto* schemes = new ColourSchemeWindow(app.State().AppDir, main);
  app.Windows().schemes = schemes;
  QObject::connect(main, &MainWindow::ColourSchemeRequested, schemes, &QWidget::show);
  QObject::connect(schemes, &ColourSchemeWindow::SchemePicked, &app, [&app](const QString& name) {
    app.State().Scheme = LoadTheme(app.State().AppDir, name);
    app.ReloadTheme();
  });
}

// Every key the exit writes, in one safe save of config.ini: the
// equalizer window's first, then the main window's own.
void WriteShutdownState(Application& app) {
  AppState& state = app.State();
  const WindowSet& windows = app.Windows();
  const MainWindow* main = windows.main;
  IniFile config(ConfigName(state));
  config.SetDeferredWrites(true);
  if (windows.equalizer) windows.equalizer->SaveToConfig(config);
  config.Write(ck::vis::kMode, state.VisMode);
  config.Write(ck::main::kX, main->x());
  config.Write(ck::main::kY, main->y());
  const PlaylistWindow* playlist = windows.playlist;
  config.Write(ck::pls::kX, playlist->x());
  config.Write(ck::pls::kY, playlist->y());
  config.Write(ck::pls::kWidth, playlist->width());
  config.Write(ck::pls::kHeight, playlist->height());
  config.Write(ck::main::kOpacity, StoredOpacity(main));
  config.Write(ck::main::kDynamicAdd, state.DynamicAdd);
  config.Write(ck::pls::kOpacity, StoredOpacity(playlist));
  config.Write(ck::eq::kOpacity, StoredOpacity(windows.equalizer));
  if (config.Read(ck::cm::kOn)) {
    config.Write(ck::cm::kIndex, state.Engine->CurrentIndex);
    config.Write(ck::cm::kPosition, main->SeekPosition());
  }
  config.Write(ck::tech::kPlaylistShown, state.PlaylistShown);
  config.Write(ck::tech::kRepeat, StoredRepeatMode(state.RepeatMode));
  config.UpdateFile();
}

}  // namespace

bool Startup(Application& app, const QStringList& arguments) {
  // Files on the command line are played as soon as the windows are up:
  // the decoders load on another core while the windows are built.
  if (!arguments.isEmpty()) TCore::PreloadDecoders();
  MainWindow* main = CreateMainWindow(app);
  IniFile config(ConfigName(app.State()));
  const WindowLayout layout = StartLayout(ReadStoredPlacement(config), Monitors());
  CreateNowPlayingWindow(app);
  CreatePlaylist(app, config, layout);
  CreateEqualizer(app, layout);
  auto* about = new AboutWindow(main);
  app.Windows().about = about;
  about->ApplyScheme(app.State().Scheme);
  QObject::connect(main, &MainWindow::AboutRequested, about, &AboutWindow::Open);
  InstallDocking(app);
  CreatePlaylistDialogs(app, arguments);
  CreateSettingsWindow(app);
  CreateLibraryWindows(app);
  main->InstallSeekKeys(new SharedKeys(app, false, main));
  auto* tray = new TrayIcon(main->MainMenu(), &app);
  app.Windows().tray = tray;
  QObject::connect(tray, &TrayIcon::RestoreRequested, &app, &Application::RestoreFromTray);
  // A left click while in the tray shows or hides what is playing.
  QObject::connect(tray, &TrayIcon::LeftClicked, &app, [&app] {
    if (app.State().TrayMinimised) app.Windows().nowPlaying->Toggle();
  });
  // A finished conversion is told in the tray; a failed one says why.
  QObject::connect(app.Windows().playlist, &PlaylistWindow::ConversionSucceeded, tray, [tray](const QString& name) {
    tray->ShowBalloon(QStringLiteral("Encode"), name + QStringLiteral(" конвертирован."), kEncodeBalloonMs);
  });
  QObject::connect(app.Windows().playlist, &PlaylistWindow::ConversionFailed, &app, &Application::ShowError);
  CreateAppearanceWindows(app);
  QObject::connect(main, &MainWindow::MinimiseRequested, &app, &Application::MinimiseToTray);
  new MprisService(app, main);  // on the bus until the main window goes
  main->show();
  return true;
}

void Shutdown(Application& app) {
  WindowSet& windows = app.Windows();
  Application::ReportFileErrors([&] { WriteShutdownState(app); });
  PlaylistWindow* playlist = windows.playlist;
  Application::ReportFileErrors([&] { playlist->SavePlaylist(); });  // what is still waiting to be added is kept too
  playlist->Adder().Cancel();  // nothing is appended once the engine goes
  app.State().Engine->Shutdown();
  // The tray icon uses the main window's menu: it goes first.
  delete std::exchange(windows.tray, nullptr);
  delete std::exchange(windows.nowPlaying, nullptr);
  delete std::exchange(windows.equalizer, nullptr);
  delete std::exchange(windows.playlist, nullptr);
  // The main window's children go with it: the playlist's small windows, the scheme and transparency windows.
  windows.settings = nullptr;
  windows.musicBase = nullptr;
  windows.radioBase = nullptr;
  windows.url = nullptr;
  windows.info = nullptr;
  windows.search = nullptr;
  windows.schemes = nullptr;
  windows.transparency = nullptr;
  windows.about = nullptr;
  delete windows.splash.data();
  delete std::exchange(windows.main, nullptr);
  // The base last: its window is gone, and what is pending is written.
  app.CloseMusicBase();
}

}  // namespace orve
