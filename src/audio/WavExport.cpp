#include "audio/WavExport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>

#include "audio/Decoder.h"
#include "base/PartFile.h"

namespace orve::audio {
namespace {

constexpr int kBlockBytes = 10000;
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - (kWavHeaderBytes - 8);

void Put16(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* at, uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}

bool WriteAt(int fd, const void* data, size_t size, off_t offset) {
  return ::pwrite(fd, data, size, offset) == static_cast<ssize_t>(size);
}

WavExportResult Failed(WavExportError error, std::string detail) { return {error, std::move(detail), 0, 0}; }

// A failure of the system's: its reason from errno, kept as a number too.
WavExportResult SystemFailure(WavExportError error) {
  const int number = errno;
  return {error, std::strerror(number), 0, number};
}

}  // namespace

std::array<uint8_t, kWavHeaderBytes> WavHeader(int channels, int rate, int bitsPerSample, uint32_t dataBytes) {
  std::array<uint8_t, kWavHeaderBytes> h{};
  const uint32_t block = static_cast<uint32_t>(channels * bitsPerSample / 8);
  std::memcpy(h.data(), "RIFF", 4);
  Put32(h.data() + 4, dataBytes + (kWavHeaderBytes - 8));
  std::memcpy(h.data() + 8, "WAVEfmt ", 8);
  Put32(h.data() + 16, 16);
  Put16(h.data() + 20, 1);
  Put16(h.data() + 22, static_cast<uint32_t>(channels));
  Put32(h.data() + 24, static_cast<uint32_t>(rate));
  Put32(h.data() + 28, block * static_cast<uint32_t>(rate));
  Put16(h.data() + 32, block);
  Put16(h.data() + 34, static_cast<uint32_t>(bitsPerSample));
  std::memcpy(h.data() + 36, "data", 4);
  Put32(h.data() + 40, dataBytes);
  return h;
}

namespace {

// The decoder's samples after the header already written to `fd`, block by
// block; `dataBytes` of the result counts them.
// On a file (`writeback`) what is written goes on to disk as the decoding
// goes on, every few megabytes.
WavExportResult WriteSamples(Decoder& decoder, int fd, uint64_t limit, bool writeback,
                             const std::function<bool(int percent)>& progress) {
  constexpr uint64_t kWritebackBytes = 4 << 20;
  const int frameBytes = decoder.BytesPerFrame();
  std::vector<uint8_t> block(kBlockBytes);
  const int framesPerBlock = kBlockBytes / frameBytes;
  uint64_t data = 0, flushed = 0;
  for (;;) {
    const int frames = decoder.Read(block.data(), framesPerBlock);
    if (frames <= 0) break;
    const size_t bytes = static_cast<size_t>(frames) * static_cast<size_t>(frameBytes);
    if (data + bytes > limit) return Failed(WavExportError::kTooLong, {});
    if (!WriteAll(fd, block.data(), bytes)) return SystemFailure(WavExportError::kWrite);
    data += bytes;
    if (writeback && data - flushed >= kWritebackBytes) {
      StartWriteback(fd, static_cast<int64_t>(kWavHeaderBytes + flushed), static_cast<int64_t>(data - flushed));
      flushed = data;
    }
    const int64_t length = decoder.LengthFrames();
    const int percent = length > 0 ? static_cast<int>(std::min<int64_t>(100, decoder.Position() * 100 / length)) : 0;
    // Asked after every block, so a file of unknown length can be stopped too.
    if (progress && !progress(percent)) return Failed(WavExportError::kCancelled, {});
  }
  return {WavExportError::kNone, {}, static_cast<int64_t>(data), 0};
}

}  // namespace

WavExportResult DecodeToWav(const std::string& source, const std::string& output,
                            const std::function<bool(int percent)>& progress) {
  std::string error;
  const std::unique_ptr<Decoder> decoder = Decoder::Open(source, Decoder::Output::kS16, error);
  if (decoder == nullptr) return Failed(WavExportError::kSource, error);
  PartFile part(output);
  if (part.Fd() < 0) return SystemFailure(WavExportError::kCreate);
  auto header = WavHeader(decoder->Channels(), decoder->Rate(), 16, 0);
  if (!WriteAll(part.Fd(), header.data(), header.size())) return SystemFailure(WavExportError::kWrite);
  WavExportResult result = WriteSamples(*decoder, part.Fd(), kMaxDataBytes, true, progress);
  if (result.error != WavExportError::kNone) return result;
  header = WavHeader(decoder->Channels(), decoder->Rate(), 16, static_cast<uint32_t>(result.dataBytes));
  if (!WriteAt(part.Fd(), header.data(), header.size(), 0)) return SystemFailure(WavExportError::kWrite);
  if (!part.KeepAs(output)) return SystemFailure(WavExportError::kWrite);
  if (progress) progress(100);
  return result;
}

WavExportResult StreamAsWav(Decoder& decoder, int fd, const std::function<bool(int percent)>& progress) {
  const auto header = WavHeader(decoder.Channels(), decoder.Rate(), 16, kUnknownDataBytes);
  if (!WriteAll(fd, header.data(), header.size())) return SystemFailure(WavExportError::kWrite);
  // A stream has no end to patch a length into: it ends where the reader
  // sees the end of the pipe, however long.
  return WriteSamples(decoder, fd, UINT64_MAX, false, progress);
}

}  // namespace orve::audio
