#include "app/Application.h"

#include <QElapsedTimer>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QThread>
#include <QTranslator>
#include <cstdio>

#include "app/AppIcon.h"
#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "app/UnixSignals.h"
#include "equalizer/EqualizerWindow.h"
#include "library/MusicBase.h"
#include "library/MusicBaseWindow.h"
#include "library/RadioBaseWindow.h"
#include "playlist/InfoWindow.h"
#include "app/AboutWindow.h"
#include "app/NowPlayingWindow.h"
#include "app/SplashWindow.h"
#include "playlist/PlaylistWindow.h"
#include "playlist/SearchWindow.h"
#include "playlist/UrlWindow.h"
#include "settings/window/SettingsWindow.h"

namespace orve {
namespace {

constexpr int kMostNestedDialogs = 16;  // a box over a dialog over a box...

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("orve"));
  setApplicationVersion(QString::fromLatin1(kAppVersion));
  // The menu entry (orve.desktop) and its icon, for the taskbar and the
  // window manager.
  setDesktopFileName(QStringLiteral("orve"));
  setWindowIcon(AppIcon());
  InstallQtTranslations();
  signals_ = new UnixSignals(this);
  connect(signals_, &UnixSignals::terminationRequested, this, &Application::OnTerminationRequested);
  connect(state_.Engine.get(), &TCore::NowPlayingChanged, this, [this](const QString& artist, const QString& title) {
    state_.NowArtist = artist;
    state_.NowTitle = title;
  });
}

Application::~Application() = default;

void Application::InstallQtTranslations() {
  // The program speaks Russian, so Qt's own dialogs and buttons do too.
  auto* translator = new QTranslator(this);
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                       folder)) {
    installTranslator(translator);
  } else {
    qWarning("orve: Qt's Russian translations are missing in %s (package qt6-translations-l10n); "
             "Qt's dialogs stay in English", qUtf8Printable(folder));
  }
}

Application* Application::Instance() { return static_cast<Application*>(QCoreApplication::instance()); }

bool Application::notify(QObject* receiver, QEvent* event) {
  // The last net: handlers catch file errors themselves where they can go on.
  bool handled = false;
  if (!eventWatcher_) {
    ReportFileErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
  }
  const int loopLevel = QThread::currentThread()->loopLevel();
  if (notifyDepth_ == 0) {
    outerLoopLevel_ = loopLevel;
    nestedLoopRan_ = false;
  } else if (loopLevel > outerLoopLevel_) {
    nestedLoopRan_ = true;
  }
  QElapsedTimer took;
  took.start();
  ++notifyDepth_;
  ReportFileErrors([&] { handled = QApplication::notify(receiver, event); });
  --notifyDepth_;
  if (notifyDepth_ == 0 && !nestedLoopRan_ && eventWatcher_) eventWatcher_(static_cast<double>(took.nsecsElapsed()) / 1e6);
  return handled;
}

void Application::ShowError(const QString& message) {
  // The splash goes first: it would stand over the message, and a box
  // parented to it would go when it does.
  Application* app = Instance();
  if (app != nullptr && app->terminating_) {
    std::fprintf(stderr, "orve: %s\n", qUtf8Printable(message));
    return;
  }
  if (app != nullptr && app->windows_.splash) app->windows_.splash->close();
  QWidget* parent = activeWindow();
  if (parent != nullptr && parent->windowType() == Qt::SplashScreen) parent = nullptr;
  QMessageBox::critical(parent, QString::fromLatin1(kAppTitle), message);
}

void Application::ReloadTheme() {
  // Window by window in the program's fixed order; the windows not built
  // yet take their place here as they come.
  const WindowSet& w = windows_;
  if (w.info) w.info->ApplyScheme();
  if (w.playlist) w.playlist->ApplyScheme();
  if (w.equalizer) {
    w.equalizer->ApplyScheme();
    w.equalizer->RunEffectSwitches();  // recolours the switches, re-applies the effects that are on
  }
  if (w.url) w.url->ApplyScheme();
  if (w.settings) w.settings->ApplyScheme();
  if (w.musicBase) w.musicBase->ApplyScheme();
  if (w.radioBase) w.radioBase->ApplyScheme();
  if (w.playlist) w.playlist->RebuildItems();
  if (w.main) w.main->ApplyScheme();
  if (w.search) w.search->ApplyScheme();
  if (w.nowPlaying) w.nowPlaying->ApplyScheme(state_.Scheme);
  if (w.about) w.about->ApplyScheme(state_.Scheme);
  state_.LogoTick = 0;
}

void Application::OpenMusicBase() {
  musicBase_ = std::make_unique<MusicBase>(state_.AppDir);
  // Every local file that becomes an entry, on every road, is registered.
  state_.Engine->RegisterFile = [base = musicBase_.get()](const TCore::MeasuredEntry& entry) {
    base->AddFile(entry.path, entry.artist, entry.title);
  };
}

void Application::CloseMusicBase() {
  state_.Engine->RegisterFile = nullptr;
  musicBase_.reset();  // writes what is pending
}

void Application::SetRoundButtons(bool round) {
  if (windows_.main) windows_.main->SetRoundButtons(round);
  if (windows_.playlist) windows_.playlist->SetRoundButtons(round);
}

void Application::MinimiseToTray() {
  MainWindow* main = windows_.main;
  if (!main) return;
  if (windows_.tray && windows_.tray->IsShown()) {
    // The windows leave the screen and the taskbar; the tray icon stays.
    main->hide();
    if (windows_.playlist) windows_.playlist->hide();
    if (windows_.equalizer) windows_.equalizer->hide();
    state_.TrayMinimised = true;
  } else {
    main->showMinimized();
  }
}

void Application::RestoreFromTray() {
  MainWindow* main = windows_.main;
  if (!main || !state_.TrayMinimised) return;
  state_.TrayMinimised = false;
  if (windows_.nowPlaying) windows_.nowPlaying->hide();
  main->showNormal();
  if (windows_.equalizer && state_.EqualizerShown) windows_.equalizer->show();
  if (windows_.playlist && state_.PlaylistShown) windows_.playlist->show();
  main->activateWindow();
}

void Application::RaiseMainWindow() {
  MainWindow* main = windows_.main;
  if (!main) return;
  if (state_.TrayMinimised) {
    RestoreFromTray();
  } else if (main->isMinimized()) {
    main->showNormal();
  } else {
    main->show();
  }
  main->raise();
  main->activateWindow();
}

void Application::OnTerminationRequested() {
  terminating_ = true;
  // An open box or dialog runs an event loop of its own that would keep the
  // program alive: each is closed (as Escape would), innermost first.
  for (int i = 0; i < kMostNestedDialogs; ++i) {
    QWidget* modal = activeModalWidget();
    if (modal == nullptr) break;
    modal->close();
  }
  // The same road as "Выход": close the main window, which ends the event loop.
  if (windows_.main) {
    windows_.main->close();
  } else {
    quit();
  }
}

}  // namespace orve
