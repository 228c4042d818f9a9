#include "app/MprisService.h"

#include <unistd.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/Application.h"
#include "app/MprisPlayer.h"
#include "app/MprisRoot.h"
#include "equalizer/EqualizerWindow.h"
#include "playlist/PlaylistWindow.h"

namespace orve {
namespace {

constexpr char kObjectPath[] = "/org/mpris/MediaPlayer2";
constexpr char kServiceName[] = "org.mpris.MediaPlayer2.orve";
constexpr char kPlayerInterface[] = "org.mpris.MediaPlayer2.Player";
// Further from where playing on would have taken it than the ticks' own
// unevenness on a busy machine.
constexpr qlonglong kJumpUs = 1500000;

}  // namespace

MprisService::MprisService(Application& app, QObject* parent)
    : QObject(parent), connection_(QDBusConnection::sessionBus()) {
  if (!connection_.isConnected()) {
    std::fprintf(stderr, "orve: no D-Bus session bus (%s); media keys and players' controls will not reach ORVE\n",
                 qUtf8Printable(connection_.lastError().message()));
    return;
  }
  new MprisRoot(app, this);
  player_ = new MprisPlayer(app, this);
  if (!connection_.registerObject(QString::fromLatin1(kObjectPath), this, QDBusConnection::ExportAdaptors)) {
    std::fprintf(stderr, "orve: %s is taken on the session bus; MPRIS is off\n", kObjectPath);
    return;
  }
  // A second player (another program folder) takes a name of its own.
  QString name = QString::fromLatin1(kServiceName);
  if (!connection_.registerService(name)) {
    name += QStringLiteral(".instance%1").arg(::getpid());
    if (!connection_.registerService(name)) {
      std::fprintf(stderr, "orve: the session bus refused the name %s; MPRIS is off\n", qUtf8Printable(name));
      connection_.unregisterObject(QString::fromLatin1(kObjectPath));
      return;
    }
  }
  busName_ = name;
  published_ = Snapshot();
  sinceLastPosition_.start();
  lastPosition_ = player_->Position();
  lastTrack_ = player_->TrackId().path();
  TCore* engine = app.State().Engine.get();
  connect(engine, &TCore::TransportChanged, this, &MprisService::PublishSoon);
  connect(engine, &TCore::NowPlayingChanged, this, &MprisService::PublishSoon);
  if (EqualizerWindow* eq = app.Windows().equalizer) {
    connect(eq, &EqualizerWindow::VolumeTextChanged, this, &MprisService::PublishSoon);
  }
  // The playlist's tick also brings what changes without a signal: the
  // repeat mode, a station's title, the rows around the current one.
  if (PlaylistWindow* playlist = app.Windows().playlist) {
    connect(playlist, &PlaylistWindow::TimeDisplaysDue, this, [this] {
      Publish();
      WatchPosition();
    });
  }
  connect(player_, &MprisPlayer::Seeked, this, [this](qlonglong position) {
    lastPosition_ = position;
    sinceLastPosition_.restart();
  });
}

MprisService::~MprisService() {
  if (busName_.isEmpty()) return;
  connection_.unregisterService(busName_);
  connection_.unregisterObject(QString::fromLatin1(kObjectPath));
}

void MprisService::PublishSoon() {
  // Starting an entry stops the old one, opens and plays the new one: told
  // once, when the whole step is done, not half way through it.
  if (publishDue_) return;
  publishDue_ = true;
  QTimer::singleShot(0, this, [this] {
    publishDue_ = false;
    Publish();
  });
}

QVariantMap MprisService::Snapshot() const {
  return {
      {QStringLiteral("PlaybackStatus"), player_->PlaybackStatus()},
      {QStringLiteral("LoopStatus"), player_->LoopStatus()},
      {QStringLiteral("Metadata"), player_->Metadata()},
      {QStringLiteral("Volume"), player_->Volume()},
      {QStringLiteral("CanGoNext"), player_->CanGoNext()},
      {QStringLiteral("CanGoPrevious"), player_->CanGoPrevious()},
      {QStringLiteral("CanPlay"), player_->CanPlay()},
      {QStringLiteral("CanPause"), player_->CanPause()},
      {QStringLiteral("CanSeek"), player_->CanSeek()},
  };
}

void MprisService::Publish() {
  if (busName_.isEmpty()) return;
  const QVariantMap now = Snapshot();
  QVariantMap changed;
  for (auto it = now.cbegin(); it != now.cend(); ++it) {
    if (published_.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
  }
  published_ = now;
  if (changed.isEmpty()) return;
  QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kObjectPath),
                                                   QStringLiteral("org.freedesktop.DBus.Properties"),
                                                   QStringLiteral("PropertiesChanged"));
  signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
  connection_.send(signal);
}

void MprisService::WatchPosition() {
  const qlonglong position = player_->Position();
  const QString track = player_->TrackId().path();
  const bool playing = player_->PlaybackStatus() == QLatin1String("Playing");
  const qlonglong expected = lastPosition_ + (wasPlaying_ ? sinceLastPosition_.nsecsElapsed() / 1000 : 0);
  if (track == lastTrack_ && std::llabs(position - expected) > kJumpUs) emit player_->Seeked(position);
  lastPosition_ = position;
  lastTrack_ = track;
  wasPlaying_ = playing;
  sinceLastPosition_.restart();
}

}  // namespace orve
