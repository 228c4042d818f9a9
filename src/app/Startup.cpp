#include "app/Startup.h"

#include "app/AppDir.h"
#include "app/Keys.h"
#include "app/Application.h"
#include "app/TrayIcon.h"
#include "app/Unit1.h"
#include "appearance/Unit16.h"
#include "equalizer/Unit6.h"
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

// What the playlist window's creation restores for the main window.
void RestorePlaylistState(TApplication& app, IniFile& config) {
  AppState& state = app.State();
  TForm1* main = app.MainWindow();
  main->move(config.Read(ck::main::kX), config.Read(ck::main::kY));
  switch (config.Read(ck::tech::kRepeat)) {
    case 0: state.RepeatMode = RepeatModes::Off; break;
    case 1: state.RepeatMode = RepeatModes::All; break;
    case 2: state.RepeatMode = RepeatModes::Track; break;
    default: break;  // any other value leaves repeat off
  }
  main->ShowRepeatMode();
  state.Engine->CurrentIndex = -1;
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
  QObject::connect(eq, &TForm6::OpacitiesRequested, main, [main](int mainTrs, int, int) {
    if (mainTrs != 255) main->setWindowOpacity((mainTrs & 0xFF) / 255.0);
  });
  QObject::connect(main, &TForm1::EqualizerToggled, eq, &QWidget::setVisible);
  eq->SetKeyHandler(new SharedKeys(app, true, eq));
  eq->FormCreate();
}

void WriteShutdownState(TApplication& app) {
  AppState& state = app.State();
  TForm1* main = app.MainWindow();
  IniFile config(ConfigName(state));
  config.Write(ck::vis::kMode, state.VisMode);
  config.Write(ck::main::kX, main->x());
  config.Write(ck::main::kY, main->y());
  config.Write(ck::main::kOpacity, static_cast<int>(std::lround(main->windowOpacity() * 255)));
  config.Write(ck::main::kDynamicAdd, state.DynamicAdd);
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

bool Startup(TApplication& app, const QStringList& /*arguments*/) {
  TForm1* main = CreateMainWindow(app);
  IniFile config(ConfigName(app.State()));
  RestorePlaylistState(app, config);
  CreateEqualizer(app);
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
  app.State().Engine->Shutdown();
  // The tray icon uses the main window's menu: it goes first.
  delete app.Tray();
  app.SetTray(nullptr);
  delete app.Equalizer();
  app.SetEqualizer(nullptr);
  delete app.MainWindow();
  app.SetMainWindow(nullptr);
}

}  // namespace orve
