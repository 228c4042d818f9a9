#pragma once
// org.mpris.MediaPlayer2.Player on the bus: the transport, the current
// entry's metadata, position, volume and repeat mode, read from the shared
// state and changed through the windows as their own controls change them.
// Positions are microseconds; the player seeks in whole seconds, as its
// seek bar does.

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QVariantMap>

namespace orve {

class Application;

class MprisPlayer : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
  Q_PROPERTY(QString LoopStatus READ LoopStatus WRITE SetLoopStatus)
  Q_PROPERTY(double Rate READ Rate WRITE SetRate)
  Q_PROPERTY(QVariantMap Metadata READ Metadata)
  Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
  Q_PROPERTY(qlonglong Position READ Position)
  Q_PROPERTY(double MinimumRate READ Rate)
  Q_PROPERTY(double MaximumRate READ Rate)
  Q_PROPERTY(bool CanGoNext READ CanGoNext)
  Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
  Q_PROPERTY(bool CanPlay READ CanPlay)
  Q_PROPERTY(bool CanPause READ CanPause)
  Q_PROPERTY(bool CanSeek READ CanSeek)
  Q_PROPERTY(bool CanControl READ CanControl)

 public:
  MprisPlayer(Application& app, QObject* parent);

  QString PlaybackStatus() const;
  QString LoopStatus() const;
  void SetLoopStatus(const QString& status);
  double Rate() const { return 1.0; }
  void SetRate(double) {}  // the only rate there is
  QVariantMap Metadata() const;
  double Volume() const;
  void SetVolume(double volume);
  qlonglong Position() const;
  bool CanGoNext() const;
  bool CanGoPrevious() const;
  bool CanPlay() const;
  bool CanPause() const;
  bool CanSeek() const;
  bool CanControl() const { return true; }

  // The current entry's id: a new one for each entry started.
  QDBusObjectPath TrackId() const;

 public slots:
  void Next();
  void Previous();
  void Pause();
  void PlayPause();
  void Stop();
  void Play();
  void Seek(qlonglong Offset);
  void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position);
  // An address that is not one the player takes is answered with an error.
  void OpenUri(const QString& Uri, const QDBusMessage& message);

 signals:
  // The position moved other than by playing on (a seek).
  void Seeked(qlonglong Position);

 private:
  bool Loaded() const;
  qlonglong LengthUs() const;
  // Seeks to `us` through the main window's seek bar and reports it.
  void SeekToUs(qlonglong us);

  Application& app_;
};

}  // namespace orve
