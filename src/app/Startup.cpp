#include "app/Startup.h"

#include "app/AppDir.h"
#include "app/Keys.h"
#include "app/Application.h"
#include "app/StartEntry.h"
#include "app/TrayIcon.h"
#include "app/Unit1.h"
#include "appearance/Unit16.h"
#include "equalizer/Unit6.h"
#include "playlist/Unit11.h"
#include "playlist/Unit14.h"
#include "playlist/Unit2.h"
#include "playlist/Unit8.h"
#include "settings/ConfigKeys.h"
#include "settings/FileError.h"
#include "settings/IniFile.h"
#include "widgets/SkinColours.h"

namespace orve {
namespace {

namespace ck = config;

QString ConfigName(const AppState& state) { return state.AppDir + QString::fromLatin1(ck::kFileName); }

// The main window's creation: folder, scheme, engine, toggles.
TForm1* CreateMainWindow(TApplication& app) {
  AppState& state = app.State();
  state.AppDir = ResolveAppDir();
  InstallBundledThemes(state.AppDir);
  IniFile config(ConfigName(state));
  state.Scheme = LoadTheme(state.AppDir, config.Read(ck::themes::kName));
  state.Engine->Init(state.AppDir);
  state.PlaylistShown = false;
  state.SeekDragging = false;
  state.EqualizerShown = false;
  state.RepeatMode = RepeatModes::Off;
  state.DynamicAdd = !config.Read(ck::main::kDynamicAdd);
  auto* main = new TForm1();
  app.SetMainWindow(main);
  main->AdvGlassButton12Click();  // back to the saved value, with its caption and colour
  main->PaintSeekThumb();
  return main;
}

// The playlist window: its own state from config.ini, and what its
// creation restores for the main window.
void CreatePlaylist(TApplication& app, IniFile& config) {
  TForm1* main = app.MainWindow();
  auto* playlist = new TForm2(app.State());
  app.SetPlaylist(playlist);
  main->move(config.Read(ck::main::kX), config.Read(ck::main::kY));
  QObject::connect(playlist, &TForm2::ShownAtStartup, main, &TForm1::ShowPlaylistToggle);
  QObject::connect(playlist, &TForm2::Closed, main, [main] { main->ShowPlaylistToggle(false); });
  QObject::connect(main, &TForm1::PlaylistToggled, playlist, &QWidget::setVisible);
  QObject::connect(playlist, &TForm2::StartEntryRequested, &app, [&app] { StartEntry(app); });
  QObject::connect(playlist, &TForm2::NowPlayingCleared, main, &TForm1::ClearNowPlaying);
  QObject::connect(playlist, &TForm2::TimeDisplaysDue, main, &TForm1::RefreshTime);
  QObject::connect(playlist, &TForm2::OpenFilesRequested, main, &TForm1::OpenFilesClick);
  QObject::connect(main, &TForm1::FilesChosen, playlist, [playlist](const QStringList& paths) {
    playlist->AddFiles(paths);
  });
  QObject::connect(main, &TForm1::FilesDropped, playlist, &TForm2::AddDroppedFiles);
  QObject::connect(playlist, &TForm2::AddProgress, main, &TForm1::ShowAddProgress);
  QObject::connect(main, &TForm1::PlaylistFileRequested, playlist->RzOpenDialog1, qOverload<>(&QDialog::open));
  playlist->ListBox1->installEventFilter(new SharedKeys(app, false, playlist));
  playlist->FormCreate(config);
  main->ShowRepeatMode();
}

// The equalizer window: created after the playlist's step, it restores its
// sliders and switches and a few settings of the main window.
void CreateEqualizer(TApplication& app) {
  TForm1* main = app.MainWindow();
  auto* eq = new TForm6(app.State());
  app.SetEqualizer(eq);
  QObject::connect(eq, &TForm6::VolumeTextChanged, main->Label3, &QLabel::setText);
  QObject::connect(eq, &TForm6::VolumeLabelHighlighted, main, [main, &app](bool pressed) {
    SetTextColour(main->Label3, ToQColor(app.State().Scheme.ThemeColors[pressed ? 3 : 1]));
  });
  QObject::connect(eq, &TForm6::Closed, main, [main] { main->ShowEqualizerToggle(false); });
  QObject::connect(eq, &TForm6::EqualizerShownAtStartup, main, &TForm1::ShowEqualizerToggle);
  QObject::connect(eq, &TForm6::RoundButtonsRequested, main, &TForm1::SetRoundButtons);
  QObject::connect(eq, &TForm6::OpacitiesRequested, main, [main, &app](int mainTrs, int plsTrs, int) {
    ApplyStoredOpacity(main, mainTrs);
    ApplyStoredOpacity(app.Playlist(), plsTrs);
  });
  QObject::connect(main, &TForm1::EqualizerToggled, eq, &QWidget::setVisible);
  eq->SetKeyHandler(new SharedKeys(app, true, eq));
  eq->FormCreate();
}

// The URL window, whose creation fills the playlist (the command line, or
// the saved playlist and the cassette resume); then the information and
// search windows.
void CreatePlaylistDialogs(TApplication& app, const QStringList& arguments) {
  TForm1* main = app.MainWindow();
  TForm2* playlist = app.Playlist();
  auto* url = new TForm8(app.State(), main);
  QObject::connect(playlist, &TForm2::UrlDialogRequested, url, &TForm8::OpenUrlDialog);
  QObject::connect(main, &TForm1::UrlDialogRequested, url, &TForm8::OpenUrlDialog);
  QObject::connect(url, &TForm8::UrlAdded, playlist, &TForm2::AddStream);
  auto* info = new TForm11(app.State(), main);
  QObject::connect(playlist, &TForm2::InfoRequested, info, &TForm11::ShowFor);
  auto* search = new TForm14(app.State(), main);
  QObject::connect(playlist, &TForm2::SearchRequested, search, &TForm14::OpenSearch);
  QObject::connect(search, &TForm14::EntryChosen, playlist, &TForm2::StartIndex);
  QObject::connect(search, &TForm14::ChooseFinished, playlist, &TForm2::RefreshTimeText);
  app.SetPlaylistDialogs(url, info, search);
  try {
    app.Playlist()->StartupLoader(arguments, [&app] { CassetteResume(app); });
  } catch (const FileError& e) {
    TApplication::ShowError(e.message());  // the playlist starts empty; start-up goes on
  }
}

void WriteShutdownState(TApplication& app) {
  AppState& state = app.State();
  TForm1* main = app.MainWindow();
  IniFile config(ConfigName(state));
  config.Write(ck::vis::kMode, state.VisMode);
  config.Write(ck::main::kX, main->x());
  config.Write(ck::main::kY, main->y());
  const TForm2* playlist = app.Playlist();
  config.Write(ck::pls::kX, playlist->x());
  config.Write(ck::pls::kY, playlist->y());
  config.Write(ck::pls::kWidth, playlist->width());
  config.Write(ck::pls::kHeight, playlist->height());
  config.Write(ck::main::kOpacity, StoredOpacity(main));
  config.Write(ck::main::kDynamicAdd, state.DynamicAdd);
  config.Write(ck::pls::kOpacity, StoredOpacity(playlist));
  config.Write(ck::eq::kOpacity, StoredOpacity(app.Equalizer()));
  if (config.Read(ck::cm::kOn)) {
    config.Write(ck::cm::kIndex, state.Engine->CurrentIndex);
    config.Write(ck::cm::kPosition, main->RzTrackBar1->value());
  }
  config.Write(ck::tech::kPlaylistShown, state.PlaylistShown);
  int repeat = 0;
  if (state.RepeatMode == RepeatModes::Track) repeat = 2;
  if (state.RepeatMode == RepeatModes::All) repeat = 1;
  config.Write(ck::tech::kRepeat, repeat);
  config.UpdateFile();
}

}  // namespace

bool Startup(TApplication& app, const QStringList& arguments) {
  TForm1* main = CreateMainWindow(app);
  IniFile config(ConfigName(app.State()));
  CreatePlaylist(app, config);
  CreateEqualizer(app);
  CreatePlaylistDialogs(app, arguments);
  main->RzTrackBar1->installEventFilter(new SharedKeys(app, false, main));
  app.SetTray(new TrayIcon(main->AdvPopupMenu2, &app));
  auto* schemes = new TForm16(app.State().AppDir, main);
  QObject::connect(main, &TForm1::ColourSchemeRequested, schemes, &QWidget::show);
  QObject::connect(schemes, &TForm16::SchemePicked, &app, [&app](const QString& name) {
    app.State().Scheme = LoadTheme(app.State().AppDir, name);
    app.MainWindow()->ReloadTheme();
  });
  QObject::connect(main, &TForm1::MinimiseRequested, &app, &TApplication::MinimiseToTray);
  main->show();
  return true;
}

void Shutdown(TApplication& app) {
  // The equalizer window's teardown writes its keys first, then the main window its own.
  try {
    if (app.Equalizer()) app.Equalizer()->FormDestroy();
  } catch (const FileError& e) {
    TApplication::ShowError(e.message());
  }
  try {
    WriteShutdownState(app);
  } catch (const FileError& e) {
    TApplication::ShowError(e.message());
  }
  TForm2* playlist = app.Playlist();
  try {
    playlist->SavePlaylist();  // what is still waiting to be added is kept too
  } catch (const FileError& e) {
    TApplication::ShowError(e.message());
  }
  playlist->Adder().Cancel();  // nothing is appended once the engine goes
  app.State().Engine->Shutdown();
  // The tray icon uses the main window's menu: it goes first.
  delete app.Tray();
  app.SetTray(nullptr);
  delete app.Equalizer();
  app.SetEqualizer(nullptr);
  delete playlist;
  app.SetPlaylist(nullptr);
  app.SetPlaylistDialogs(nullptr, nullptr, nullptr);  // the main window's children
  delete app.MainWindow();
  app.SetMainWindow(nullptr);
}

}  // namespace orve
