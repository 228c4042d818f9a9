#include "app/MprisRoot.h"

#include "app/Application.h"
#include "app/MainWindow.h"

namespace orve {

MprisRoot::MprisRoot(Application& app, QObject* parent) : QDBusAbstractAdaptor(parent), app_(app) {}

QString MprisRoot::Identity() const { return QStringLiteral("ORVE"); }

// data/orve.desktop
QString MprisRoot::DesktopEntry() const { return QStringLiteral("orve"); }

QStringList MprisRoot::SupportedUriSchemes() const {
  return {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https")};
}

// The audio types of data/orve.desktop.
QStringList MprisRoot::SupportedMimeTypes() const {
  return {QStringLiteral("audio/mpeg"),        QStringLiteral("audio/x-mp3"),      QStringLiteral("audio/mp2"),
          QStringLiteral("audio/x-mp2"),       QStringLiteral("audio/x-wav"),      QStringLiteral("audio/wav"),
          QStringLiteral("audio/ogg"),         QStringLiteral("audio/x-vorbis+ogg"), QStringLiteral("audio/x-opus+ogg"),
          QStringLiteral("audio/x-flac+ogg"),  QStringLiteral("audio/flac"),       QStringLiteral("audio/x-flac"),
          QStringLiteral("audio/x-aiff"),      QStringLiteral("audio/aac"),        QStringLiteral("audio/x-aac"),
          QStringLiteral("audio/mp4"),         QStringLiteral("audio/x-m4a"),      QStringLiteral("audio/x-ms-wma")};
}

void MprisRoot::Raise() { app_.RaiseMainWindow(); }

// The same road as "Выход": everything is saved on the way out.
void MprisRoot::Quit() {
  if (MainWindow* main = app_.Windows().main) main->close();
}

}  // namespace orve
