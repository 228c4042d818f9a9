#pragma once
// What the playlist needs to know about a file before it is played: its
// length and its tags. Unlike the Library's streams this keeps no state, so
// any thread may call it, several at once (the playlist measures large adds
// on workers).

#include <cstdint>
#include <string>

#include "audio/AudioLibrary.h"

namespace orve::audio {

struct FileMeasure {
  bool opened = false;   // the file holds decodable audio
  double seconds = -1;   // exact length; -1 when it cannot be known
  Tags tags;             // empty when the audio does not open, as for a failed stream
};

// `foregroundScanBytes`: files up to this size get their exact length from
// a packet scan; larger ones the container's estimate (the scan would take
// longer than a UI thread may wait). Workers pass the default: always exact.
FileMeasure MeasureFile(const std::string& path, int64_t foregroundScanBytes = INT64_MAX);

}  // namespace orve::audio
