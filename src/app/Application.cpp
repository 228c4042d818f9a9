#include "app/Application.h"

#include <QMessageBox>

#include "app/UnixSignals.h"
#include "app/Unit1.h"
#include "settings/FileError.h"

namespace orve {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("orve"));
  setApplicationVersion(QString::fromLatin1(kAppVersion));
  signals_ = new UnixSignals(this);
  connect(signals_, &UnixSignals::terminationRequested, this, &TApplication::OnTerminationRequested);
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

void TApplication::OnTerminationRequested() {
  // The same road as "Выход": close the main window, which ends the event loop.
  if (mainWindow_) {
    mainWindow_->close();
  } else {
    quit();
  }
}

}  // namespace orve
