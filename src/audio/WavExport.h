#pragma once
// Decoding a file into a 16-bit PCM WAV file: a 44-byte RIFF header whose
// two length fields are filled in at the end, then the samples as the
// decoder delivers them (the file's own rate; mono, or stereo for two and
// more channels). Meant for a worker thread: it owns its decoder and never
// touches a Library.
//
// The file is written as a PartFile: an older file of that name is replaced
// only by a whole one, and a failure leaves nothing behind.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace orve::audio {

inline constexpr int kWavHeaderBytes = 44;
// The data length of a WAV stream whose length is not known: readers
// (lame, oggenc, FFmpeg) then read to the end of their input.
inline constexpr uint32_t kUnknownDataBytes = 0xFFFFFFFFu - (kWavHeaderBytes - 8);

class Decoder;

// The header for `dataBytes` of samples.
std::array<uint8_t, kWavHeaderBytes> WavHeader(int channels, int rate, int bitsPerSample, uint32_t dataBytes);

enum class WavExportError {
  kNone,
  kSource,     // the source cannot be opened or decoded
  kCreate,     // the output cannot be created in its folder
  kWrite,      // writing failed (a full disk ...)
  kTooLong,    // more than a WAV file's 4 GB can hold
  kCancelled,  // the progress callback asked to stop
};

struct WavExportResult {
  WavExportError error = WavExportError::kNone;
  std::string detail;  // the system's or the decoder's reason
  int64_t dataBytes = 0;
  int systemError = 0;  // errno of kCreate and kWrite
};

// `progress` is told the percent done (0..100) after each block; returning
// false stops the export. Blocks are 10,000 bytes.
WavExportResult DecodeToWav(const std::string& source, const std::string& output,
                            const std::function<bool(int percent)>& progress = {});

// The same samples written to `fd` (a pipe to an encoder) as they are
// decoded, behind a header whose lengths say "unknown". A reader that goes
// away gives kWrite with systemError EPIPE (SIGPIPE must be blocked in the
// calling thread).
WavExportResult StreamAsWav(Decoder& decoder, int fd, const std::function<bool(int percent)>& progress = {});

}  // namespace orve::audio
