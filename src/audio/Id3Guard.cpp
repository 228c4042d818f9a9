#include "audio/Id3Guard.h"

#include <cstdint>
#include <fstream>

#include "audio/ByteOrder.h"

namespace orve::audio {
namespace {

constexpr int64_t kMaxTagBytes = 64LL << 20;  // more is no tag a player should read
constexpr int64_t kDeflateMaxRatio = 1032;    // deflate's largest expansion

bool ReadAt(std::ifstream& in, int64_t at, uint8_t* out, int64_t count) {
  in.seekg(at);
  return static_cast<bool>(in.read(reinterpret_cast<char*>(out), count));
}

}  // namespace

// Frame headers only, one seek each: the frames themselves (pictures too)
// are left for TagLib to read once.
bool HasInflatingFrame(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  uint8_t header[10];
  if (!ReadAt(in, 0, header, sizeof header)) return false;
  if (header[0] != 'I' || header[1] != 'D' || header[2] != '3') return false;
  const int version = header[3];
  if (version != 3 && version != 4) return false;  // 2.2 has no compression TagLib inflates
  const int64_t tagEnd = 10 + int64_t{SyncSafe32(header + 6)};
  if (tagEnd - 10 > kMaxTagBytes) return true;
  // A frame's header, then (2.4) its group and encryption bytes and its data
  // length indicator, or (2.3) its inflated size.
  uint8_t frame[16];
  for (int64_t at = 10; at + 10 <= tagEnd;) {
    if (!ReadAt(in, at, frame, 10) || frame[0] == 0) break;  // the end, or padding
    const int64_t size = version == 4 ? SyncSafe32(frame + 4) : Be32(frame + 4);
    const unsigned flags = frame[9];
    const bool compressed = version == 4 ? (flags & 0x08) != 0 : (flags & 0x80) != 0;
    if (compressed) {
      // The stated size may lie: what the compressed bytes could become counts too.
      if (size * kDeflateMaxRatio > kMaxInflatedFrameBytes) return true;
      const int64_t extra = version == 4 ? ((flags & 0x40) != 0) + ((flags & 0x04) != 0) : 0;
      const bool stated = version == 3 || (flags & 0x01) != 0;
      if (stated && ReadAt(in, at + 10, frame + 10, extra + 4)) {
        const uint8_t* p = frame + 10 + extra;
        if ((version == 4 ? SyncSafe32(p) : Be32(p)) > kMaxInflatedFrameBytes) return true;
      }
    }
    if (size <= 0) break;
    at += 10 + size;
  }
  return false;
}

}  // namespace orve::audio
