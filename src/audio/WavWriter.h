#pragma once
// Writes a WAV file of 32-bit float stereo. The header's sizes are filled
// in by Close; until then the file is a WAV of unknown length. A pipe or
// other unseekable file keeps the "unknown" lengths.

#include <cstdint>
#include <cstdio>
#include <string>

namespace orve::audio {

class WavWriter {
 public:
  ~WavWriter();
  bool Open(const std::string& path, int rate, std::string& error);
  bool Write(const float* stereo, int frames);
  // Completes the header; false when a write failed on the way.
  bool Close();

 private:
  bool WriteHeader(uint32_t dataBytes);

  std::FILE* file_ = nullptr;
  bool seekable_ = true;  // a regular file: the header is completed at Close
  int rate_ = 0;
  uint64_t dataBytes_ = 0;
  bool failed_ = false;
};

}  // namespace orve::audio
