#include "audio/WavWriter.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <limits>

#include "audio/WavExport.h"

namespace orve::audio {
namespace {

constexpr int kChannels = 2;
constexpr int kBytesPerSample = 4;
constexpr uint16_t kFormatFloat = 3;
constexpr long kHeaderBytes = 44;

void Put16(unsigned char* p, uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}
void Put32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

WavWriter::~WavWriter() { Close(); }

bool WavWriter::Open(const std::string& path, int rate, std::string& error) {
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  rate_ = rate;
  // A pipe (a program reading the capture as it comes) cannot be rewound
  // to fill the lengths in: it gets the "unknown" lengths readers accept.
  struct stat st {};
  seekable_ = fstat(fileno(file_), &st) == 0 && S_ISREG(st.st_mode);
  if (!WriteHeader(seekable_ ? 0 : kUnknownDataBytes)) {
    error = path + ": cannot write";
    return false;
  }
  return true;
}

bool WavWriter::WriteHeader(uint32_t dataBytes) {
  unsigned char h[kHeaderBytes];
  std::memcpy(h, "RIFF", 4);
  Put32(h + 4, 36 + dataBytes);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  Put32(h + 16, 16);
  Put16(h + 20, kFormatFloat);
  Put16(h + 22, kChannels);
  Put32(h + 24, static_cast<uint32_t>(rate_));
  Put32(h + 28, static_cast<uint32_t>(rate_ * kChannels * kBytesPerSample));
  Put16(h + 32, kChannels * kBytesPerSample);
  Put16(h + 34, 8 * kBytesPerSample);
  std::memcpy(h + 36, "data", 4);
  Put32(h + 40, dataBytes);
  if (seekable_ && std::fseek(file_, 0, SEEK_SET) != 0) return false;
  return std::fwrite(h, 1, sizeof h, file_) == sizeof h;
}

bool WavWriter::Write(const float* stereo, int frames) {
  if (file_ == nullptr) return false;
  const size_t n = static_cast<size_t>(frames) * kChannels;
  if (std::fwrite(stereo, sizeof(float), n, file_) != n) failed_ = true;
  dataBytes_ += n * sizeof(float);
  return !failed_;
}

bool WavWriter::Close() {
  if (file_ == nullptr) return !failed_;
  // A RIFF size field holds 32 bits; a longer capture keeps the largest.
  const uint64_t limit = std::numeric_limits<uint32_t>::max() - 36;
  bool ok = !failed_ && (!seekable_ || WriteHeader(static_cast<uint32_t>(dataBytes_ > limit ? limit : dataBytes_)));
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  return ok;
}

}  // namespace orve::audio
