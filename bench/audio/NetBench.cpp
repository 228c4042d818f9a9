// Time to first sound of a radio stream, printed; run by hand
// (bench/audio/audio_net_bench [URL]).
// Without a URL it starts the test suite's ICY server (tests/audio/net/
// icy_server.py, 127.0.0.1 only) with a generated 128 kbit/s MP3 tone, and
// measures it twice: as icecast sends (64 KB at once, then the stream's own
// pace), and without that burst (all at the stream's pace).
// 1. The library: OpenUrl and Play, then GetWave polled every 2 ms until the
//    sound heard is not silence (so the output's latency is included).
//    Goal: under 1 s on a local server.
// 2. For comparison, libavformat with its default probing: open and find
//    the stream info until the first packet, as a player with the defaults
//    would (no decoding, no output).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioLibrary.h"
#include "support/IcyServerProcess.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

using orve::audio::Handle;
using orve::audio::Library;
using orve::audio::OutputChoice;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double LibraryFirstSound(const std::string& url) {
  Library lib(OutputChoice{OutputChoice::Kind::kNull, {}});
  lib.SetUserAgent("ORVE 1.56");
  const auto start = Clock::now();
  const Handle h = lib.OpenUrl(url);
  lib.Play(h);
  std::vector<int16_t> wave(1024);
  while (Seconds(start) < 30.0) {
    if (lib.GetWave(h, wave.data()) > 0 &&
        std::any_of(wave.begin(), wave.end(), [](int16_t x) { return std::abs(x) > 1000; })) {
      return Seconds(start);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return -1.0;
}

double DefaultProbeFirstPacket(const std::string& url) {
  const auto start = Clock::now();
  AVFormatContext* ctx = nullptr;
  AVPacket* packet = av_packet_alloc();
  double took = -1.0;
  if (avformat_open_input(&ctx, url.c_str(), nullptr, nullptr) >= 0 &&
      avformat_find_stream_info(ctx, nullptr) >= 0 && av_read_frame(ctx, packet) >= 0) {
    took = Seconds(start);
  }
  av_packet_free(&packet);
  avformat_close_input(&ctx);
  return took;
}

void Report(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("  %-48s best %.3f s, median %.3f s, worst %.3f s\n", what, times.front(),
              times[times.size() / 2], times.back());
}

void Measure(const std::string& url) {
  constexpr int kRuns = 5;
  std::vector<double> ours, defaults;
  for (int i = 0; i < kRuns; ++i) ours.push_back(LibraryFirstSound(url));
  for (int i = 0; i < kRuns; ++i) defaults.push_back(DefaultProbeFirstPacket(url));
  std::printf("stream: %s\n", url.c_str());
  Report("OpenUrl + Play to the first sound heard:", ours);
  Report("libavformat defaults, open to the first packet:", defaults);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  av_log_set_level(AV_LOG_ERROR);
  std::string url = argc > 1 ? argv[1] : "";
  std::unique_ptr<orve::bench::IcyServerProcess> server;
  const auto dir = std::filesystem::temp_directory_path() / ("orve-netbench-" + std::to_string(getpid()));
  if (url.empty()) {
    server = std::make_unique<orve::bench::IcyServerProcess>(dir.string());
    if (!server->Running()) {
      std::fprintf(stderr, "the ICY server did not start (python3, ffmpeg?)\n");
      server.reset();
      std::filesystem::remove_all(dir);
      return 1;
    }
    url = server->Url("/stream.mp3");
  }
  Measure(url);
  if (server != nullptr) {
    // A server without the burst: everything comes at the stream's pace.
    Measure(url + "?burst=0");
    server.reset();
  }
  std::filesystem::remove_all(dir);
  return 0;
}
