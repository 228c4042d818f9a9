#include "NetTestSupport.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

extern char** environ;

namespace orve::audio::test {
namespace {

// The value of "key" in one JSON line written by the server (strings only).
std::string Field(const std::string& line, const std::string& key) {
  const std::string tag = "\"" + key + "\": \"";
  const size_t at = line.find(tag);
  if (at == std::string::npos) return {};
  std::string value;
  for (size_t i = at + tag.size(); i < line.size() && line[i] != '"'; ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) ++i;
    value += line[i];
  }
  return value;
}

std::string LogPath(const ScratchDir& dir) { return dir.File("requests.log"); }

}  // namespace

const ToneFiles& Tones() {
  static ScratchDir* dir = new ScratchDir();  // lives for the whole run
  static const ToneFiles files = [] {
    const std::string in = "ffmpeg -nostdin -loglevel error -y -f lavfi -i "
                           "sine=frequency=440:duration=20:sample_rate=44100,volume=4 -ac 2 ";
    ToneFiles f{dir->File("tone.mp3"), dir->File("tone.aac"), dir->File("tone.ogg"), dir->File("hls")};
    RunCommand(in + "-c:a libmp3lame -b:a 128k -id3v2_version 0 -write_xing 0 '" + f.mp3 + "'");
    RunCommand(in + "-c:a aac -b:a 128k -f adts '" + f.aac + "'");
    RunCommand(in + "-c:a libvorbis -q:a 4 '" + f.ogg + "'");
    RunCommand("mkdir -p '" + f.hlsDir + "' && " + in + "-c:a aac -b:a 128k -f hls -hls_time 2 " +
               "-hls_playlist_type vod -hls_segment_filename '" + f.hlsDir + "/seg%02d.ts' '" +
               f.hlsDir + "/index.m3u8'");
    return f;
  }();
  return files;
}

IcyServer::IcyServer(Scheme scheme) {
  const ToneFiles& tones = Tones();
  std::vector<std::string> args = {"python3", std::string(ORVE_SOURCE_DIR) + "/tests/audio/net/icy_server.py",
                                   "--mp3", tones.mp3, "--aac", tones.aac, "--ogg", tones.ogg,
                                   "--hls", tones.hlsDir, "--log", LogPath(dir_)};
  if (scheme == Scheme::kHttps) {
    const std::string cert = dir_.File("cert.pem"), key = dir_.File("key.pem");
    if (!RunCommand("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 -keyout '" + key +
                    "' -out '" + cert + "' 2>/dev/null")) {
      return;
    }
    args.insert(args.end(), {"--tls-cert", cert, "--tls-key", key});
    scheme_ = "https";
  }
  int out[2];
  if (pipe(out) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int rc = posix_spawnp(&pid_, "python3", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (rc != 0) {
    pid_ = -1;
    close(out[0]);
    return;
  }
  std::unique_ptr<FILE, int (*)(FILE*)> in(fdopen(out[0], "r"), &fclose);
  int port = 0;
  if (in != nullptr && std::fscanf(in.get(), "%d", &port) == 1) port_ = port;
}

IcyServer::~IcyServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
}

std::string IcyServer::Url(const std::string& pathAndQuery) const {
  return scheme_ + "://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
}

std::vector<Request> IcyServer::Requests() const {
  std::vector<Request> all;
  std::ifstream in(LogPath(dir_));
  std::string line;
  while (std::getline(in, line)) {
    all.push_back({Field(line, "path"), Field(line, "agent"), Field(line, "via"), Field(line, "icy")});
  }
  return all;
}

int IcyServer::CountOf(const std::string& pathAndQuery) const {
  int n = 0;
  for (const Request& r : Requests()) n += r.path == pathAndQuery ? 1 : 0;
  return n;
}

bool HearsSound(const Library& lib, Handle h) {
  std::vector<int16_t> wave(1024);
  if (lib.GetWave(h, wave.data()) <= 0) return false;
  int peak = 0;
  for (int16_t s : wave) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return peak > 3000;  // the tone is at -6 dBFS or so; silence is 0
}

double ToneFrequency(const Capture& capture) {
  const int64_t frames = capture.Frames();
  const int window = capture.rate / 20;
  int64_t bestFrom = 0, bestLen = 0, from = -1;
  // Loud stretches, judged by 50 ms windows.
  for (int64_t w = 0; w + window <= frames; w += window) {
    float peak = 0.0f;
    for (int64_t i = w; i < w + window; ++i) peak = std::max(peak, std::fabs(capture.samples[2 * i]));
    if (peak > 0.1f) {
      if (from < 0) from = w;
      if (w + window - from > bestLen) bestLen = w + window - (bestFrom = from);
    } else {
      from = -1;
    }
  }
  if (bestLen < capture.rate / 2) return 0.0;
  // The strongest frequency of up to 2 s of it (Goertzel over 300..600 Hz in
  // 0.25 Hz steps). Counting zero crossings would be thrown off by every
  // splice a live stream has where its source loops or the buffer ran dry.
  const int64_t length = std::min<int64_t>(bestLen, 2 * capture.rate);
  const int64_t start = bestFrom + (bestLen - length) / 2;
  double bestHz = 0.0, bestPower = -1.0;
  for (double hz = 300.0; hz <= 600.0; hz += 0.25) {
    const double w = 2.0 * 3.14159265358979323846 * hz / capture.rate;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0.0, s2 = 0.0;
    for (int64_t i = start; i < start + length; ++i) {
      const double s0 = capture.samples[2 * i] + coeff * s1 - s2;
      s2 = s1;
      s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    if (power > bestPower) bestPower = power, bestHz = hz;
  }
  return bestHz;
}

}  // namespace orve::audio::test
