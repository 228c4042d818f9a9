#include "audio/Id3Guard.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace orve::audio {
namespace {

constexpr long kMaxTagBytes = 64L << 20;  // more is no tag a player should read
constexpr long kDeflateMaxRatio = 1032;   // deflate's largest expansion

uint32_t BigEndian(const unsigned char* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}
uint32_t SyncSafe(const unsigned char* p) {
  return uint32_t{p[0] & 0x7Fu} << 21 | uint32_t{p[1] & 0x7Fu} << 14 | uint32_t{p[2] & 0x7Fu} << 7 | (p[3] & 0x7Fu);
}

}  // namespace

bool HasInflatingFrame(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char header[10];
  if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return false;
  if (header[0] != 'I' || header[1] != 'D' || header[2] != '3') return false;
  const int version = header[3];
  if (version != 3 && version != 4) return false;  // 2.2 has no compression TagLib inflates
  const long tagBytes = SyncSafe(header + 6);
  if (tagBytes > kMaxTagBytes) return true;
  std::vector<unsigned char> tag(static_cast<size_t>(tagBytes));
  in.read(reinterpret_cast<char*>(tag.data()), tagBytes);
  const long have = static_cast<long>(in.gcount());
  for (long at = 0; at + 10 <= have;) {
    const unsigned char* frame = tag.data() + at;
    if (frame[0] == 0) break;  // padding
    const long size = version == 4 ? SyncSafe(frame + 4) : BigEndian(frame + 4);
    const unsigned flags = frame[9];
    const bool compressed = version == 4 ? (flags & 0x08) != 0 : (flags & 0x80) != 0;
    if (compressed) {
      // 2.3: the inflated size follows the header; 2.4: the data length
      // indicator does, after the group and encryption bytes when present.
      long extra = 0;
      bool stated = version == 3;
      if (version == 4) {
        extra = ((flags & 0x40) != 0 ? 1 : 0) + ((flags & 0x04) != 0 ? 1 : 0);
        stated = (flags & 0x01) != 0;
      }
      // The stated size may lie: what the compressed bytes could become counts too.
      if (size * kDeflateMaxRatio > kMaxInflatedFrameBytes) return true;
      if (stated && at + 10 + extra + 4 <= have) {
        const unsigned char* p = frame + 10 + extra;
        const long inflated = version == 4 ? SyncSafe(p) : BigEndian(p);
        if (inflated > kMaxInflatedFrameBytes) return true;
      }
    }
    if (size <= 0) break;
    at += 10 + size;
  }
  return false;
}

}  // namespace orve::audio
