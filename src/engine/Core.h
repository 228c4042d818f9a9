#pragma once
// TCore: the engine record. It owns the audio library for the whole run,
// the one open stream and the playlist's four parallel lists. It knows no
// window: changes of the transport state and of the now-playing texts are
// reported by signals that the windows connect to.
//
// Used from the UI thread only; the audio library's own threads never call
// back into it.

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "audio/AudioLibrary.h"

namespace orve {

// PlayState values.
enum PlayStates : quint8 {
  kNothingLoaded = 0,
  kOpened = 1,
  kPlaying = 2,
  kPaused = 3,
  kStopped = 4,
};

// Kind codes of playlist entries.
inline constexpr char kKindFile[] = "1";
inline constexpr char kKindAac[] = "2";
inline constexpr char kKindWma[] = "3";
inline constexpr char kKindStream[] = "4";

inline constexpr char kUserAgent[] = "ORVE 1.56";
inline constexpr int kMaxProxyLength = 99;

class TCore : public QObject {
  Q_OBJECT
 public:
  explicit TCore(QObject* parent = nullptr);
  ~TCore() override;

  quint8 PlayState = kNothingLoaded;
  // The library's stream handle in the low 32 bits; the high half is 0.
  int64_t Channel = 0;
  QStringList Paths;
  QStringList Titles;
  QStringList Durations;  // whole seconds, as decimal text
  QStringList Kinds;
  int32_t TotalSeconds = 0;

  // Starts the engine: the library with the buffer, agent and proxy of
  // appDir + "config.ini", on the output ORVE_AUDIO_OUTPUT names.
  void Init(const QString& appDir);
  // Releases the stream and the library.
  void Shutdown();

  // Replaces the open stream by a new one for entry i, created by its kind.
  void OpenEntry(int i);

  int32_t Position() const;  // whole seconds, halves to even; 0 in state 0 and for streams
  int32_t Length() const;
  void Seek(uint32_t seconds);
  void SetAttributes(quint8 volume, int32_t frequency);
  void Play();
  void Pause();
  void Stop();

  // The library, for the parts that read data or tags of the channel.
  audio::Library* Library() const { return library_.get(); }
  audio::Handle Handle() const { return static_cast<audio::Handle>(Channel & 0xFFFFFFFF); }

 signals:
  // PlayState changed by Play, Pause or Stop: the transport buttons recolour.
  void TransportChanged(quint8 playState);
  // Play read the artist and title tags of the channel.
  void NowPlayingChanged(const QString& artist, const QString& title);

 private:
  std::unique_ptr<audio::Library> library_;
  // Kind of the entry now loaded (the entry at CurrentIndex): positions of
  // network streams read 0.
  QString openKind_;
};

}  // namespace orve
