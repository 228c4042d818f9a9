#pragma once
// Encoding an audio file (normally a WAV file) into ADTS AAC with FFmpeg's
// own AAC encoder: the AAC encoder program conversions run when no faac is
// installed. Plain C++, no Qt.

#include <string>

namespace orve::aacenc {

struct AacOptions {
  int quality = 100;  // faac's -q: 10..500, 100 is about 128 kbit/s for stereo
  int kbps = 0;       // faac's -b: an average bit rate per channel; 0: from quality
};

// Reads `input`, writes `output` (replaced); false with `error` set on failure,
// in which case `output` is removed.
bool EncodeToAdts(const std::string& input, const std::string& output, const AacOptions& options,
                  std::string& error);

}  // namespace orve::aacenc
