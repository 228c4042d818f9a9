#include "audio/MeasureFile.h"

#include "audio/Decoder.h"
#include "audio/TagReader.h"

namespace orve::audio {

FileMeasure MeasureFile(const std::string& path, int64_t foregroundScanBytes) {
  FileMeasure m;
  std::string error;
  auto decoder = Decoder::Open(path, Decoder::Output::kS16, error, foregroundScanBytes);
  if (decoder != nullptr) {
    m.opened = true;
    const int64_t frames = decoder->LengthFrames();
    if (frames >= 0 && decoder->Rate() > 0) m.seconds = static_cast<double>(frames) / decoder->Rate();
    m.tags = ReadTags(path);
  }
  return m;
}

}  // namespace orve::audio
