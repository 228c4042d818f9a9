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
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "audio/AudioLibrary.h"
#include "engine/EffectRecords.h"

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
  // The entry now (or last) loaded, -1 for none. Kept here because the
  // engine's own operations read and set it (Position, AddEntry).
  int CurrentIndex = -1;

  struct MeasuredEntry;
  // Registers an added local file (with the tags read when it was measured)
  // in the music base; set by the application.
  std::function<void(const MeasuredEntry& entry)> RegisterFile;

  // The equalizer on every stream: handles of its sixteen bands, valid from
  // BuildEqChain until the stream is freed, and the record reused for them.
  std::array<int32_t, kEqBands> EqBandHandles{};
  dsp::ParamEqParams EqParams{0, 0, 0};
  // The seven switchable effects; -1: not on the channel.
  std::array<int32_t, kEffectCount> EffectHandles{-1, -1, -1, -1, -1, -1, -1};
  EffectRecords Records;

  // Starts the engine: the library with the buffer, agent and proxy of
  // appDir + "config.ini", on the output ORVE_AUDIO_OUTPUT names.
  void Init(const QString& appDir);
  // Opens the decoders' libraries on another thread, so the first entry
  // that plays does not wait for them. Nothing loads them before they are
  // needed otherwise: a player started with its saved list stays small.
  static void PreloadDecoders();
  // Releases the stream and the library.
  void Shutdown();

  // The settings that apply to the running library: the ring length of the
  // streams opened from now on (0..10000 ms), and the proxy of the internet
  // streams opened from now on (at most 99 characters of `address` are
  // used; off means direct).
  void SetBufferMs(int ms);
  void SetProxy(bool on, const QString& address);
  // The audio processing's load, percent of one core (0 before Init).
  double CpuLoad() const;

  // Replaces the open stream by a new one for entry i, created by its kind.
  void OpenEntry(int i);

  // What AddEntry learns about a path before it changes anything.
  struct MeasuredEntry {
    QString path;
    QString kind;    // empty: the player knows no kind for the path
    QString artist;
    QString title;
    int32_t seconds = 0;  // 0 when the length cannot be measured
  };
  // Kind, tags and rounded duration of a path. Touches no state of the
  // engine, so workers call it for large adds. `exactLength` false keeps
  // the UI thread's wait short on very large files (the estimate stands).
  static MeasuredEntry MeasureEntry(const QString& path, bool exactLength = true);
  // Appends a measured entry to the four lists: duration, total, title,
  // path, CurrentIndex for the first entry, the music base. False for a
  // path without a kind: then nothing changes.
  bool AppendEntry(const MeasuredEntry& entry);

  // Appends an entry for a local file (or an address): kind, tags, duration,
  // title. A path whose extension is not one the player knows is refused:
  // false, and nothing changes. A duration that cannot be measured is 0.
  // The caller appends the list item.
  bool AddEntry(const QString& path);
  // Appends a stream entry as the URL window, the saved playlist and the
  // radio base do: duration 0, CurrentIndex untouched. The caller appends
  // the list item.
  void AddStreamEntry(const QString& url, const QString& title);

  // The same index out of the four lists, its duration out of the total.
  void RemoveEntry(int i);
  // Empties the four lists; the total is 0.
  void ClearEntries();
  // Entries a and b change places in the four lists.
  void ExchangeEntries(int a, int b);
  // Frees the open stream (its file is no longer held); Channel is 0 and
  // nothing is loaded, which TransportChanged reports.
  void FreeChannel();
  // The current entry is gone (the only entry was removed, or the playlist
  // emptied): nothing is loaded and CurrentIndex is -1, which
  // TransportChanged reports. The channel stays until the next OpenEntry.
  void ForgetCurrent();

  // Creates the sixteen bands on the channel and sends their gains.
  void BuildEqChain();
  // Band k (1..16) at slider position 0..30 (15 is 0 dB), as the equalizer
  // window sets it: kept for the streams to come and sent to this one.
  void SetBandPosition(int k, int position);
  // Re-sends the gain of band k (1..16) from its kept position.
  void SetBandGain(int k);
  // The kept slider position 0..30 of band k (1..16).
  int BandPosition(int k) const { return bandPositions_[static_cast<size_t>(k - 1)]; }
  // Adds (on) or removes (off) effect e on the channel, pausing and resuming
  // around the change while playing; switching on reads e's section of
  // config.ini afresh. An effect already present is not created twice.
  void SwitchEffect(Effect e, bool on);
  // Sends the record of e to its handle as it stands (the settings window's
  // Apply). An effect that is off is left alone: switching it on reads its
  // section afresh.
  void SendEffectRecord(Effect e);

  int32_t Position() const;  // whole seconds, halves to even; 0 in state 0 and for streams
  int32_t Length() const;
  void Seek(uint32_t seconds);
  void SetAttributes(quint8 volume, int32_t frequency);
  void Play();
  void Pause();
  void Stop();

  // The entry at CurrentIndex is an internet stream.
  bool CurrentIsStream() const;
  // The open stream has played its last sample: a file at its end (heard,
  // not just decoded), a file served over HTTP that the server ended
  // cleanly, or a stream that did not open at all. Live stations never end
  // here; one that fails stays silent with its reason.
  bool Ended() const;

  // The library, for the parts that read data or tags of the channel.
  audio::Library* Library() const { return library_.get(); }
  audio::Handle Handle() const { return static_cast<audio::Handle>(Channel & 0xFFFFFFFF); }

 signals:
  // PlayState changed by Play, Pause or Stop: the transport buttons recolour.
  void TransportChanged(quint8 playState);
  // Play read the artist and title tags of the channel.
  void NowPlayingChanged(const QString& artist, const QString& title);

 private:
  int BandGain(int k) const;  // dB of band k from its kept position

  QString appDir_;
  // Band slider positions, pushed by the equalizer window; all at 0 dB
  // until it does.
  std::array<int, kEqBands> bandPositions_{};

  std::unique_ptr<audio::Library> library_;
};

}  // namespace orve
