#pragma once
// The test suite's ICY server (tests/audio/net/icy_server.py, 127.0.0.1
// only) for the benchmarks, streaming a 20 s 440 Hz 128 kbit/s MP3 tone that
// ffmpeg makes into the given folder. Plain C++, so benchmarks with and
// without Qt can share it.

#include <cstdio>
#include <string>

namespace orve::bench {

class IcyServerProcess {
 public:
  // Makes the tone and starts the server; check Running() before use.
  explicit IcyServerProcess(const std::string& dir);
  ~IcyServerProcess();  // stops the server and waits for it
  IcyServerProcess(const IcyServerProcess&) = delete;
  IcyServerProcess& operator=(const IcyServerProcess&) = delete;

  bool Running() const { return port_ > 0; }
  // "http://127.0.0.1:PORT" followed by `pathAndQuery`.
  std::string Url(const std::string& pathAndQuery) const;

 private:
  FILE* out_ = nullptr;  // the server's output; open until it is stopped
  int pid_ = -1;
  int port_ = 0;
};

}  // namespace orve::bench
