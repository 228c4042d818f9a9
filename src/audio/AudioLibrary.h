#pragma once
// The audio library: decoding, playback, data of the sound heard now, tags.
// Plain C++ (no Qt), so it can be tested and benchmarked alone.
//
// Threads: every public operation is called from one thread (the UI thread)
// and returns quickly; none waits on the network, on a whole decode or on the
// output device. Each playing stream has a decoder thread of its own; the
// output sink pulls from the streams on its own thread (see Output.h).
//
// Network streams (OpenUrl) connect on their own thread: until the first
// audio arrives the channel plays silence and IsActive answers kStalled;
// their position, length and file size are 0. One that cannot be reached
// ends (kStopped) and says why in StreamStatus; one that drops while playing
// is reconnected, after 1 s, 2 s, 4 s ... up to 30 s, until Pause, Stop or
// Free.
//
// Handles: a stream is named by a Handle; 0 is never a valid handle. Every
// operation on an invalid or freed handle answers with the failed value of
// its type (false, -1, 0 or empty) and never crashes.

#include <cstdint>
#include <memory>
#include <string>

#include "audio/dsp/DspBlock.h"
#include "audio/dsp/EffectParams.h"

namespace orve::audio {

using Handle = uint32_t;
inline constexpr Handle kNoHandle = 0;

// State answered by IsActive.
enum class ActiveState : int {
  kStopped = 0,  // never started, stopped, or decoding ended and played out
  kPlaying = 1,
  kStalled = 2,  // playing, but waiting for data (network streams)
  kPaused = 3,
};

struct StreamInfo {
  int frequency = 0;   // the stream's own sample rate in Hz
  int channels = 0;    // 1 or 2 (more channels are mixed down to stereo)
                       // network streams: the output's rate, stereo (what they deliver)
  bool eightBit = false;  // never set: every stream delivers 16-bit data
};

struct Tags {
  std::string title, artist, album, genre, year, track, comment;  // UTF-8
};

// Which sink to use; parsed from ORVE_AUDIO_OUTPUT ("", "auto", "null", "wav:PATH").
struct OutputChoice {
  enum class Kind { kAuto, kNull, kWav } kind = Kind::kAuto;
  std::string wavPath;
  static OutputChoice Parse(const char* envValue);
};

class Library {
 public:
  // Init: opens the chosen output. kAuto falls back to the null sink (one
  // line on stderr) when no device opens.
  explicit Library(const OutputChoice& output);
  ~Library();  // Shutdown: frees every stream and closes the output.
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // --- configuration ---
  void SetBufferMs(int ms);                    // length of each stream's ring, 0..10000
  void SetUserAgent(const std::string& agent); // for network streams
  void SetProxy(const std::string& hostPort);  // "host:port", empty = direct
  int BufferMs() const;
  std::string UserAgent() const;
  std::string Proxy() const;
  double CpuLoad() const;                      // audio processing, percent of one core
  std::string OutputName() const;              // "portaudio", "null" or "wav"
  int OutputRate() const;                      // the sink's rate in Hz
  // Why the last failed open failed (FFmpeg's text with the call's name).
  std::string LastError() const;

  // --- streams ---
  Handle OpenFile(const std::string& path);     // a stream to play
  Handle OpenDecoder(const std::string& path);  // decode only: read with ReadDecoded
  // An http:// or https:// radio address, or a playlist (.pls, .m3u, .m3u8)
  // of one. Returns at once; the connection is made when the channel first
  // plays, with the user agent and proxy set now. kNoHandle only for an
  // address that is not http(s).
  Handle OpenUrl(const std::string& url);
  void Free(Handle h);  // never waits for the network

  // --- channel ---
  bool Play(Handle h);   // starts, or continues a paused channel where it stood
  bool Pause(Handle h);
  bool Stop(Handle h);   // stops; the position stays where it was
  ActiveState IsActive(Handle h) const;

  // Positions and lengths are bytes of 16-bit PCM at the stream's own rate
  // and channel count. Position is the sound heard now (output latency taken
  // off). At the end of a stream position equals length.
  int64_t Position(Handle h) const;   // -1 on failure
  int64_t Length(Handle h) const;     // -1 on failure
  bool SetPosition(Handle h, int64_t bytes);  // sample-accurate for files
  double BytesToSeconds(Handle h, int64_t bytes) const;  // -1 on failure
  int64_t SecondsToBytes(Handle h, double seconds) const; // -1 on failure
  int64_t FileSize(Handle h) const;   // -1 on failure

  // volume 0..100; frequency in Hz, 0 = the stream's own rate (varispeed:
  // speed and pitch change together). Heard within one device period.
  bool SetAttributes(Handle h, int frequency, int volume);
  bool GetAttributes(Handle h, int& frequency, int& volume) const;
  bool GetInfo(Handle h, StreamInfo& info) const;

  // --- data of the sound heard now ---
  // 256 magnitudes from 512 samples, or 512 from 1024; mono mix, Hann window,
  // |X[k]| / (N/2). Returns the number of values written, or -1.
  int GetFft(Handle h, float* out, int fftSize) const;
  // 512 frames of 16-bit stereo (mono duplicated): 2048 bytes. Returns the
  // number of bytes written, or -1.
  int GetWave(Handle h, int16_t* out) const;
  // Decode-only streams: up to `bytes` bytes of 16-bit interleaved PCM at the
  // stream's own rate and channels. Returns the count written (0 at the end),
  // or -1 on failure.
  int ReadDecoded(Handle h, void* buffer, int bytes);

  // --- effects on a channel ---
  // Effect handles are unique within the library; 0 is never valid. Effects
  // run in order of priority (higher first), then of creation, and a change
  // is heard within one device period.
  using FxHandle = uint32_t;
  FxHandle AddEffect(Handle h, dsp::EffectType type, int priority);  // 0 on failure
  bool RemoveEffect(Handle h, FxHandle fx);
  // False when `params` is not the record of the effect's type.
  bool SetEffectParameters(Handle h, FxHandle fx, const dsp::EffectParams& params);
  bool GetEffectParameters(Handle h, FxHandle fx, dsp::EffectParams& params) const;

  // --- tags and metadata ---
  Tags GetTags(Handle h) const;            // read once per stream and kept
  // The latest ICY block of a network stream as the server sent it
  // ("StreamTitle='...';StreamUrl='...';"), in UTF-8 (Windows-1251 text
  // converted); "" when the server sent none, and for files.
  std::string GetMetadata(Handle h) const;
  // Why a network stream is silent, short and in Russian ("Нет соединения",
  // "Ошибка 404", "Это не аудиопоток", "Переподключение…"); "" while all is
  // well, and for files.
  std::string StreamStatus(Handle h) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orve::audio
