#pragma once
// Whole numbers as file headers store them.

#include <cstdint>

namespace orve::audio {

inline uint32_t Be32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}
inline uint32_t Le32(const uint8_t* p) {
  return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}
// ID3v2's sizes: seven bits a byte, so no byte looks like a frame sync.
inline uint32_t SyncSafe32(const uint8_t* p) {
  return uint32_t{p[0] & 0x7Fu} << 21 | uint32_t{p[1] & 0x7Fu} << 14 | uint32_t{p[2] & 0x7Fu} << 7 | (p[3] & 0x7Fu);
}

}  // namespace orve::audio
