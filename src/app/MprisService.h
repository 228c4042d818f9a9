#pragma once
// The player on the session bus as an MPRIS 2 media player, so a desktop's
// media keys and sound menu, and tools such as playerctl, drive it:
// org.mpris.MediaPlayer2.orve (".instance" and the process id after it when
// another player holds that name) with /org/mpris/MediaPlayer2. Changes of
// the transport, the current entry, the volume, the repeat mode and seeks
// made in the windows are announced as they happen. Without a session bus
// the player runs as before; one line on stderr says so.

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QVariantMap>

namespace orve {

class Application;
class MprisPlayer;

class MprisService : public QObject {
  Q_OBJECT
 public:
  MprisService(Application& app, QObject* parent);
  ~MprisService() override;

  // The bus name held; empty when the player is not on the bus.
  QString BusName() const { return busName_; }

 private:
  // The Player properties whose changes are announced, as they stand.
  QVariantMap Snapshot() const;
  // Announces the properties that changed since the last call.
  void Publish();
  void PublishSoon();
  // A position that jumped (the seek bar, the keys) is announced as a seek.
  void WatchPosition();

  QDBusConnection connection_;
  QString busName_;
  MprisPlayer* player_ = nullptr;
  QVariantMap published_;
  bool publishDue_ = false;
  qlonglong lastPosition_ = 0;
  QString lastTrack_;
  bool wasPlaying_ = false;
  QElapsedTimer sinceLastPosition_;
};

}  // namespace orve
