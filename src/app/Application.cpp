#include "app/Application.h"

#include <QMessageBox>

#include "app/TrayIcon.h"
#include "app/UnixSignals.h"
#include "app/Unit1.h"
#include "settings/FileError.h"

namespace orve {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("orve"));
  setApplicationVersion(QString::fromLatin1(kAppVersion));
  signals_ = new UnixSignals(this);
  connect(signals_, &UnixSignals::terminationRequested, this, &TApplication::OnTerminationRequested);
  connect(state_.Engine.get(), &TCore::NowPlayingChanged, this, [this](const QString& artist, const QString& title) {
    state_.NowArtist = artist;
    state_.NowTitle = title;
  });
}

TApplication::~TApplication() = default;

TApplication* TApplication::Instance() { return static_cast<TApplication*>(QCoreApplication::instance()); }

bool TApplication::notify(QObject* receiver, QEvent* event) {
  // The last net: handlers catch file errors themselves where they can go on.
  try {
    return QApplication::notify(receiver, event);
  } catch (const FileError& e) {
    ShowError(e.message());
  }
  return false;
}

void TApplication::ShowError(const QString& message) {
  QMessageBox::critical(activeWindow(), QString::fromLatin1(kAppTitle), message);
}

void TApplication::SetTray(TrayIcon* tray) {
  tray_ = tray;
  if (tray_) connect(tray_, &TrayIcon::RestoreRequested, this, &TApplication::RestoreFromTray);
}

void TApplication::MinimiseToTray() {
  if (!mainWindow_) return;
  if (tray_ && tray_->IsShown()) {
    // The windows leave the screen and the taskbar; the tray icon stays.
    mainWindow_->hide();
    state_.TrayMinimised = true;
  } else {
    mainWindow_->showMinimized();
  }
}

void TApplication::RestoreFromTray() {
  if (!mainWindow_ || !state_.TrayMinimised) return;
  state_.TrayMinimised = false;
  mainWindow_->showNormal();
  mainWindow_->activateWindow();
}

void TApplication::OnTerminationRequested() {
  // The same road as "Выход": close the main window, which ends the event loop.
  if (mainWindow_) {
    mainWindow_->close();
  } else {
    quit();
  }
}

}  // namespace orve
