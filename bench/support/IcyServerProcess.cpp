#include "support/IcyServerProcess.h"

#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace orve::bench {

IcyServerProcess::IcyServerProcess(const std::string& dir) {
  const std::string tone = dir + "/tone.mp3";
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    std::fprintf(stderr, "cannot create %s: %s\n", dir.c_str(), error.message().c_str());
    return;
  }
  const std::string make = "ffmpeg -nostdin -loglevel error -y -f lavfi -i "
                           "sine=frequency=440:duration=20:sample_rate=44100,volume=4 -ac 2 "
                           "-c:a libmp3lame -b:a 128k -id3v2_version 0 '" + tone + "'";
  if (std::system(make.c_str()) != 0) {
    std::fprintf(stderr, "ffmpeg could not make the tone in %s\n", dir.c_str());
    return;
  }
  // The shell prints its pid, then becomes the server, which prints its port.
  const std::string run = "echo $$; exec python3 " + std::string(ORVE_SOURCE_DIR) +
                          "/tests/audio/net/icy_server.py --mp3 '" + tone + "' --log '" + dir + "/log'";
  out_ = popen(run.c_str(), "r");
  if (out_ == nullptr) {
    std::perror("popen python3");
    return;
  }
  if (std::fscanf(out_, "%d %d", &pid_, &port_) != 2) {
    std::fprintf(stderr, "the ICY server did not say its port\n");
    port_ = 0;
  }
}

IcyServerProcess::~IcyServerProcess() {
  if (out_ == nullptr) return;
  if (pid_ > 0) kill(pid_, SIGTERM);
  pclose(out_);  // waits for the server to end
}

std::string IcyServerProcess::Url(const std::string& pathAndQuery) const {
  return "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
}

}  // namespace orve::bench
