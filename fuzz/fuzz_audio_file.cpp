// Any bytes as an audio file, the way the playlist and the converter use it:
// measured, opened, a little decoded, moved to its middle, a little more
// decoded, closed. Lengths and positions are whole frames and never
// negative, a position is the frames read since the last move, a move lands
// where it was asked to, and tags are UTF-8.
//
// Decode-only streams decode on the caller's thread, so every run of an
// input does the same work; the library's output is the null one, which no
// decode-only stream uses.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "audio/AudioLibrary.h"
#include "audio/MeasureFile.h"
#include "base/TextCodec.h"

using orve::fuzz::Check;
namespace audio = orve::audio;

namespace {

constexpr int kReadBytes = 4096;

bool IsUtf8(const audio::Tags& t) {
  for (const std::string* s : {&t.title, &t.artist, &t.album, &t.genre, &t.year, &t.track, &t.comment}) {
    if (!orve::IsValidUtf8(*s)) return false;
  }
  return true;
}

// Reads up to `times` blocks; the position follows every byte read.
int64_t ReadSome(audio::Library& library, audio::Handle h, int times, int bytesPerFrame) {
  std::vector<char> buffer(kReadBytes);
  const int64_t start = library.Position(h);
  int64_t total = 0;
  for (int i = 0; i < times; ++i) {
    const int n = library.ReadDecoded(h, buffer.data(), kReadBytes);
    Check(n >= 0 && n <= kReadBytes && n % bytesPerFrame == 0);
    if (n == 0) break;
    total += n;
    Check(library.Position(h) == start + total);
  }
  return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static orve::fuzz::MemoryFile file;
  static audio::Library library(audio::OutputChoice{audio::OutputChoice::Kind::kNull, {}});
  const std::string& path = file.Hold(orve::fuzz::Bytes(data, size));

  const audio::FileMeasure measure = audio::MeasureFile(path);
  Check(IsUtf8(measure.tags));
  Check(measure.seconds == -1 || (measure.seconds >= 0 && std::isfinite(measure.seconds)));
  if (!measure.opened) Check(measure.seconds == -1 && measure.tags.title.empty() && measure.tags.artist.empty());

  const audio::Handle h = library.OpenDecoder(path);
  if (h == audio::kNoHandle) return 0;
  Check(measure.opened);
  audio::StreamInfo info;
  Check(library.GetInfo(h, info));
  Check(info.frequency > 0 && (info.channels == 1 || info.channels == 2));
  const int bytesPerFrame = 2 * info.channels;
  Check(library.FileSize(h) == static_cast<int64_t>(size));
  Check(IsUtf8(library.GetTags(h)));
  const int64_t length = library.Length(h);
  Check(length == -1 || (length >= 0 && length % bytesPerFrame == 0));
  Check(library.Position(h) == 0);

  const int64_t head = ReadSome(library, h, 8, bytesPerFrame);
  const int64_t known = library.Length(h);
  const int64_t middle = (known > 0 ? known : head) / 2 / bytesPerFrame * bytesPerFrame;
  if (library.SetPosition(h, middle)) Check(library.Position(h) == middle);
  ReadSome(library, h, 4, bytesPerFrame);
  Check(library.BytesToSeconds(h, middle) >= 0);

  library.Free(h);
  Check(library.Length(h) == -1 && library.ReadDecoded(h, nullptr, 0) == -1);
  return 0;
}
