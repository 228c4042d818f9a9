// bench_decode_one FILE [--eq]: decodes FILE through the player's decoder
// and throws the sound away, in a process of its own, so that bench/peers
// can time it whole against `ffmpeg -f s16le` (and, with --eq, against sox
// running the same 16 equalizer bands over the decoded stereo sound).
// bench_decode_one --sox-equalizer: prints those bands as sox's arguments,
// one per line.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "audio/AudioLibrary.h"
#include "audio/dsp/Denormals.h"
#include "audio/dsp/ParamEq.h"
#include "support/EqBands.h"

namespace {

using orve::audio::Library;

constexpr int kBufferBytes = 1 << 16;

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--sox-equalizer") == 0) {
    for (const std::string& arg : orve::bench::SoxEqualizerArgs()) std::printf("%s\n", arg.c_str());
    return 0;
  }
  const bool eq = argc == 3 && std::strcmp(argv[2], "--eq") == 0;
  if (argc != 2 && !eq) {
    std::fprintf(stderr, "usage: bench_decode_one FILE [--eq]\n");
    return 2;
  }
  Library lib(orve::audio::OutputChoice::Parse("null"));
  const orve::audio::Handle h = lib.OpenDecoder(argv[1]);
  orve::audio::StreamInfo info;
  if (h == orve::audio::kNoHandle || !lib.GetInfo(h, info)) {
    std::fprintf(stderr, "%s: %s\n", argv[1], lib.LastError().c_str());
    return 1;
  }
  if (eq && info.channels != 2) {
    std::fprintf(stderr, "%s: --eq takes stereo files\n", argv[1]);
    return 1;
  }
  std::vector<std::unique_ptr<orve::dsp::ParamEq>> bands;
  for (size_t k = 0; eq && k < orve::bench::kEqCentres.size(); ++k) {
    bands.push_back(std::make_unique<orve::dsp::ParamEq>());
    bands.back()->SetParameters(
        {orve::bench::kEqCentres[k], orve::bench::kEqWidthSemitones, orve::bench::kEqGains[k]});
    bands.back()->Prepare(info.frequency);
  }
  std::vector<int16_t> pcm(kBufferBytes / 2);
  std::vector<float> stereo(pcm.size());
  orve::dsp::ScopedFlushDenormals ftz;
  long long bytes = 0;
  float sink = 0;  // keeps the filtering from being optimised away
  int n = 0;
  while ((n = lib.ReadDecoded(h, pcm.data(), kBufferBytes)) > 0) {
    bytes += n;
    if (!eq) continue;
    const int samples = n / 2;
    for (int i = 0; i < samples; ++i) stereo[static_cast<size_t>(i)] = pcm[static_cast<size_t>(i)] * (1.0f / 32768);
    for (auto& band : bands) band->Process(stereo.data(), samples / 2);
    sink += stereo[0];
  }
  if (n < 0) {
    std::fprintf(stderr, "%s: decoding failed\n", argv[1]);
    return 1;
  }
  std::printf("%lld bytes%s\n", bytes, sink != sink ? " (not a number)" : "");
  return 0;
}
