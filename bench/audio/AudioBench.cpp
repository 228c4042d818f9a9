// Audio library figures, printed; run by hand (bench/audio/audio_bench).
// 1. Decode-only throughput of a 5-minute MP3 and Ogg file against
//    `ffmpeg -i FILE -f s16le -y /dev/null` on the same file (goal: at least
//    0.9 of ffmpeg's speed).
// 2. Opening a 12 MB MP3, which scans every frame for the true length at
//    open (files above 16 MB are scanned on a worker instead)
//    (the UI thread must never block for 100 ms).
// 3. CPU time of playing 30 s of a 320 kbit/s MP3 through the null sink,
//    as a share of one core (getrusage).
// The test files are generated into a temporary folder with sox, lame and
// oggenc, and removed at the end.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioLibrary.h"

namespace {

using orve::audio::Handle;
using orve::audio::Library;
using orve::audio::OutputChoice;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

bool Run(const std::string& command) {
  if (std::system(command.c_str()) == 0) return true;
  std::fprintf(stderr, "failed: %s\n", command.c_str());
  return false;
}

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Best of three runs, to keep a busy machine's noise out.
template <typename F>
double BestOf3(F&& f) {
  double best = 1e9;
  for (int i = 0; i < 3; ++i) {
    const auto t = Clock::now();
    f();
    best = std::min(best, Seconds(t));
  }
  return best;
}

double OurDecode(const std::string& path, int64_t& bytes) {
  return BestOf3([&] {
    Library lib(OutputChoice::Parse("null"));
    const Handle h = lib.OpenDecoder(path);
    std::vector<char> buffer(1 << 16);
    bytes = 0;
    int n = 0;
    while ((n = lib.ReadDecoded(h, buffer.data(), static_cast<int>(buffer.size()))) > 0) bytes += n;
  });
}

double FfmpegDecode(const std::string& path) {
  return BestOf3([&] { Run("ffmpeg -v error -i '" + path + "' -f s16le -y /dev/null"); });
}

void CompareDecode(const char* what, const std::string& path) {
  int64_t bytes = 0;
  const double ours = OurDecode(path, bytes);
  const double theirs = FfmpegDecode(path);
  std::printf("%-5s decode-only: ours %.3f s, ffmpeg %.3f s, %.1f MB of PCM; speed relative to ffmpeg %.2f\n",
              what, ours, theirs, static_cast<double>(bytes) / 1e6, theirs / ours);
}

void MeasureOpen(const std::string& path) {
  Library lib(OutputChoice::Parse("null"));
  double worst = 0;
  for (int i = 0; i < 5; ++i) {
    const auto t = Clock::now();
    const Handle h = lib.OpenFile(path);
    worst = std::max(worst, Seconds(t));
    lib.Free(h);
  }
  std::printf("open (with the length scan) of a %.1f MB MP3: worst of 5 %.1f ms\n",
              static_cast<double>(std::filesystem::file_size(path)) / 1e6, worst * 1000);
}

void MeasurePlayback(const std::string& path) {
  Library lib(OutputChoice::Parse("null"));
  const Handle h = lib.OpenFile(path);
  const double cpu0 = CpuSeconds();
  const auto t = Clock::now();
  lib.Play(h);
  std::this_thread::sleep_for(std::chrono::seconds(30));
  const double cpu = CpuSeconds() - cpu0;
  const double wall = Seconds(t);
  std::printf("playing 30 s of 320 kbit/s MP3 through the null sink: %.2f s CPU in %.1f s, %.2f %% of one core "
              "(the library's own CpuLoad: %.3f %%)\n",
              cpu, wall, 100.0 * cpu / wall, lib.CpuLoad());
}

}  // namespace

int main() {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "orve-audio-bench";
  std::filesystem::create_directories(dir);
  const std::string wav = (dir / "source.wav").string(), mp3 = (dir / "five.mp3").string(),
                    ogg = (dir / "five.ogg").string(), hq = (dir / "hq.mp3").string();
  std::printf("generating 5 minutes of test audio in %s ...\n", dir.c_str());
  if (!Run("sox -n -r 44100 -c 2 -b 16 '" + wav + "' synth 300 pinknoise vol 0.3 2>/dev/null") ||
      !Run("lame --quiet -b 128 '" + wav + "' '" + mp3 + "'") || !Run("oggenc -Q -q 4 '" + wav + "' -o '" + ogg + "'") ||
      !Run("lame --quiet -b 320 '" + wav + "' '" + hq + "'")) {
    return 1;
  }
  CompareDecode("MP3", mp3);
  CompareDecode("Ogg", ogg);
  MeasureOpen(hq);  // under the 16 MB limit: scanned at open
  MeasurePlayback(hq);
  std::filesystem::remove_all(dir);
  return 0;
}
