#include "audio/MeasureFile.h"

#include "audio/Decoder.h"
#include "audio/Mp3Header.h"
#include "audio/TagReader.h"

namespace orve::audio {

FileMeasure MeasureFile(const std::string& path, int64_t foregroundScanBytes) {
  FileMeasure m;
  // Most MP3 files state their exact length in a LAME header: a few
  // kilobytes read in place of every frame.
  if (const std::optional<HeaderLength> h = LengthFromLameHeader(path)) {
    m.opened = true;
    m.seconds = static_cast<double>(h->frames) / h->rate;
    m.tags = ReadTags(path);
    return m;
  }
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
