#pragma once
// A look at an ID3v2 tag's frame headers before TagLib reads it: TagLib
// inflates every compressed frame in full, so a few kilobytes that claim
// to inflate to hundreds of megabytes (a damaged or hostile file) would be
// inflated before anything could cut them.

#include <cstdint>
#include <string>

namespace orve::audio {

// Larger than any real frame, cover pictures included.
inline constexpr int64_t kMaxInflatedFrameBytes = 16LL << 20;

// True when the file starts with an ID3v2 tag (2.3 or 2.4) holding a
// compressed frame that states it inflates to more than
// kMaxInflatedFrameBytes, or that could whatever it states.
bool HasInflatingFrame(const std::string& path);

}  // namespace orve::audio
