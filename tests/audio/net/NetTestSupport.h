#pragma once
// Helpers for the network stream tests: the suite's own ICY server (a
// Python 3 program started per test, on 127.0.0.1 only), a 440 Hz tone to
// stream, checks on what is heard, and a clock for library calls.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "AudioTestSupport.h"
#include "audio/AudioLibrary.h"

namespace orve::audio::test {

// A 20 s 440 Hz (-6 dBFS) stereo tone, made once per run into one folder:
// tone.mp3 (128 kbit/s, no tags), tone.aac (ADTS), tone.ogg (Vorbis) and
// hls/index.m3u8 with its AAC segments in MPEG-TS.
struct ToneFiles {
  std::string mp3, aac, ogg, hlsDir;
};
const ToneFiles& Tones();

// One request the server received.
struct Request {
  std::string path, agent, via, icy;
};

class IcyServer {
 public:
  enum class Scheme { kHttp, kHttps };  // HTTPS with a self-signed certificate
  explicit IcyServer(Scheme scheme = Scheme::kHttp);  // check Running() before use
  ~IcyServer();
  IcyServer(const IcyServer&) = delete;
  IcyServer& operator=(const IcyServer&) = delete;

  bool Running() const { return port_ > 0; }
  int Port() const { return port_; }
  std::string Url(const std::string& pathAndQuery) const;
  std::vector<Request> Requests() const;
  int CountOf(const std::string& pathAndQuery) const;

 private:
  ScratchDir dir_;
  pid_t pid_ = -1;
  int port_ = 0;
  std::string scheme_ = "http";
};

// The sound heard now (GetWave) is not silence.
bool HearsSound(const Library& lib, Handle h);

// The dominant frequency of the longest loud stretch of a capture, by zero
// crossings of the left channel; 0 when there is no sound.
double ToneFrequency(const Capture& capture);

// Runs library calls and keeps the longest one's own duration.
class CallClock {
 public:
  template <typename F>
  auto operator()(F call) {
    const auto start = std::chrono::steady_clock::now();
    struct Note {
      CallClock* clock;
      std::chrono::steady_clock::time_point start;
      ~Note() {
        const auto took = std::chrono::steady_clock::now() - start;
        if (took > clock->longest_) clock->longest_ = took;
      }
    } note{this, start};
    return call();
  }
  double LongestMs() const { return std::chrono::duration<double, std::milli>(longest_).count(); }

 private:
  std::chrono::steady_clock::duration longest_{};
};

}  // namespace orve::audio::test
