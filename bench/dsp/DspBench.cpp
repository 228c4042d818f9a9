// What the DSP blocks cost, on one core:
// 1. the full chain (16 equalizer bands at non-zero gains, the seven
//    effects, the output limiter) over 60 s of stereo noise at 44.1, 48 and
//    96 kHz, as a multiple of real time, and each block alone at 44.1 kHz;
// 2. the 16-band equalizer against sox running 16 `equalizer` stages with
//    the same centres, widths (5 semitones = 5/12 octave between the
//    half-gain points, sox's "o" width) and gains, on the same WAV file.
//    sox's time includes reading the file; a sox run without effects is
//    timed too so its I/O can be taken off.
// Figures are CPU time of the processing thread (and of the sox process),
// so other load on the machine counts as little as possible; each is the
// best of three runs.
// Usage: bench_dsp [seconds]   (default 60)
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "audio/dsp/Chorus.h"
#include "audio/dsp/Compressor.h"
#include "audio/dsp/Denormals.h"
#include "audio/dsp/Echo.h"
#include "audio/dsp/Flanger.h"
#include "audio/dsp/Gargle.h"
#include "audio/dsp/I3dl2Reverb.h"
#include "audio/dsp/MusicReverb.h"
#include "audio/dsp/ParamEq.h"
#include "audio/dsp/PeakLimiter.h"
#include "support/EqBands.h"

extern char** environ;

namespace {

using namespace orve::dsp;

using orve::bench::kEqCentres;
using orve::bench::kEqGains;
constexpr int kBlock = 512;

std::vector<float> Noise(int frames) {
  std::mt19937 gen(42);
  std::uniform_real_distribution<float> dist(-0.25f, 0.25f);
  std::vector<float> s(2 * static_cast<size_t>(frames));
  for (float& v : s) v = dist(gen);
  return s;
}

using Blocks = std::vector<std::unique_ptr<DspBlock>>;

template <typename B>
std::unique_ptr<DspBlock> Make(const typename B::Params& p) {
  auto b = std::make_unique<B>();
  b->SetParameters(p);
  return b;
}

Blocks Equalizer() {
  Blocks bands;
  for (size_t k = 0; k < 16; ++k) bands.push_back(Make<ParamEq>({kEqCentres[k], orve::bench::kEqWidthSemitones, kEqGains[k]}));
  return bands;
}

// The seven effects with settings that make each one work (not silent
// defaults), in the engine's order, and the limiter.
Blocks Effects() {
  Blocks e;
  e.push_back(Make<Echo>({50, 40, 333, 250, 1}));
  e.push_back(Make<Flanger>({50, 100, -50, 0.25f, 1, 2, 2}));
  e.push_back(Make<Chorus>({50, 10, 25, 1.1f, 1, 16, 3}));
  e.push_back(Make<Compressor>({6, 10, 200, -20, 4, 4}));
  e.push_back(Make<Gargle>({20, 0}));
  e.push_back(Make<I3dl2Reverb>({}));
  e.push_back(Make<MusicReverb>({0, -10, 1000, 0.5f}));
  e.push_back(Make<PeakLimiter>({}));
  return e;
}

// CPU time of this thread: other load on the machine does not count.
double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

double Seconds(const std::function<void()>& f) {
  const double t0 = ThreadCpuSeconds();
  f();
  return ThreadCpuSeconds() - t0;
}

// Best of kRepeats runs: the machine is shared, the minimum is the cost.
constexpr int kRepeats = 3;

double RunBlocks(Blocks& blocks, const std::vector<float>& input, int rate) {
  double best = 1e30;
  for (int r = 0; r < kRepeats; ++r) {
    std::vector<float> audio = input;
    for (auto& b : blocks) b->Prepare(rate);
    const int frames = static_cast<int>(audio.size() / 2);
    best = std::min(best, Seconds([&] {
      ScopedFlushDenormals ftz;
      for (int at = 0; at < frames; at += kBlock)
        for (auto& b : blocks) b->Process(audio.data() + 2 * at, std::min(kBlock, frames - at));
    }));
  }
  return best;
}

Blocks Join(Blocks a, Blocks b) {
  for (auto& x : b) a.push_back(std::move(x));
  return a;
}

void FullChain(double seconds) {
  std::printf("Full chain (16 bands + 7 effects + limiter), %.0f s of stereo noise, 512-frame blocks:\n", seconds);
  for (int rate : {44100, 48000, 96000}) {
    Blocks chain = Join(Equalizer(), Effects());
    const double t = RunBlocks(chain, Noise(static_cast<int>(seconds * rate)), rate);
    std::printf("  %6d Hz: %.3f s  = %.0fx real time (%.2f %% of a core)\n", rate, t, seconds / t, 100 * t / seconds);
  }
  const char* names[] = {"echo", "flanger", "chorus", "compressor", "gargle", "I3DL2 reverb", "music reverb", "limiter"};
  const std::vector<float> noise = Noise(static_cast<int>(seconds * 44100));
  Blocks eq = Equalizer();
  const double eqTime = RunBlocks(eq, noise, 44100);
  std::printf("  each alone at 44100 Hz (%% of a core):\n    16 bands      %.3f %%\n", 100 * eqTime / seconds);
  Blocks effects = Effects();
  for (size_t i = 0; i < effects.size(); ++i) {
    Blocks one;
    one.push_back(std::move(effects[i]));
    std::printf("    %-13s %.3f %%\n", names[i], 100 * RunBlocks(one, noise, 44100) / seconds);
  }
}

void WriteWav(const std::string& path, const std::vector<float>& audio, int rate) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) {
    std::perror(path.c_str());
    std::exit(1);
  }
  const uint32_t data = static_cast<uint32_t>(audio.size() * 4);
  const uint32_t riff = 38 + data, fmtSize = 18, byteRate = static_cast<uint32_t>(rate) * 8;
  const uint16_t format = 3, channels = 2, align = 8, bits = 32, extra = 0;
  const uint32_t r = static_cast<uint32_t>(rate);
  std::fwrite("RIFF", 1, 4, f); std::fwrite(&riff, 4, 1, f); std::fwrite("WAVEfmt ", 1, 8, f);
  std::fwrite(&fmtSize, 4, 1, f); std::fwrite(&format, 2, 1, f); std::fwrite(&channels, 2, 1, f);
  std::fwrite(&r, 4, 1, f); std::fwrite(&byteRate, 4, 1, f); std::fwrite(&align, 2, 1, f);
  std::fwrite(&bits, 2, 1, f); std::fwrite(&extra, 2, 1, f); std::fwrite("data", 1, 4, f); std::fwrite(&data, 4, 1, f);
  std::fwrite(audio.data(), 4, audio.size(), f);
  if (std::fclose(f) != 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
}

// Runs sox with the given arguments; returns its CPU seconds (user +
// system), or -1 if it failed.
double TimeSoxOnce(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int status = 0;
  rusage usage{};
  if (posix_spawnp(&pid, "sox", nullptr, nullptr, argv.data(), environ) != 0) return -1;
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  auto sec = [](const timeval& t) { return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec); };
  return sec(usage.ru_utime) + sec(usage.ru_stime);
}

double TimeSox(const std::vector<std::string>& args) {
  double best = 1e30;
  for (int r = 0; r < kRepeats; ++r) {
    const double t = TimeSoxOnce(args);
    if (t < 0) return -1;
    best = std::min(best, t);
  }
  return best;
}

void EqualizerAgainstSox(double seconds) {
  const int rate = 44100;
  const std::vector<float> noise = Noise(static_cast<int>(seconds * rate));
  char dir[] = "/tmp/orve_dsp_bench_XXXXXX";
  if (mkdtemp(dir) == nullptr) {
    std::perror("mkdtemp");
    return;
  }
  const std::string wav = std::string(dir) + "/noise.wav";
  WriteWav(wav, noise, rate);
  std::vector<std::string> io = {"sox", wav, "-t", "null", "/dev/null"};
  std::vector<std::string> eq = io;
  const std::vector<std::string> bands = orve::bench::SoxEqualizerArgs();
  eq.insert(eq.end(), bands.begin(), bands.end());
  Blocks ours = Equalizer();
  const double oursT = RunBlocks(ours, noise, rate);
  const double soxIo = TimeSox(io);
  const double soxEq = TimeSox(eq);
  std::remove(wav.c_str());
  rmdir(dir);
  std::printf("16-band equalizer, %.0f s of 44.1 kHz stereo noise:\n", seconds);
  std::printf("  ours (in memory)        %.3f s  = %.0fx real time\n", oursT, seconds / oursT);
  if (soxEq < 0 || soxIo < 0) {
    std::printf("  sox failed to run\n");
    return;
  }
  std::printf("  sox 16 x equalizer      %.3f s  (of which reading the WAV and null output: %.3f s)\n", soxEq, soxIo);
  std::printf("  sox filtering alone     %.3f s  -> ours is %.1fx as fast\n", soxEq - soxIo, (soxEq - soxIo) / oursT);
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
  if (seconds <= 0) {
    std::fprintf(stderr, "usage: bench_dsp [seconds]\n");
    return 2;
  }
  FullChain(seconds);
  EqualizerAgainstSox(seconds);
  return 0;
}
