#include "audio/Mp3Header.h"

#include <array>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "audio/ByteOrder.h"

namespace orve::audio {
namespace {

constexpr size_t kLameTagOffset = 120;  // after "Xing"/"Info", flags, frames, bytes, TOC, quality
constexpr size_t kLameCrcOffset = 34;   // the tag's CRC, within the tag
constexpr size_t kHeadRead = 4096;      // enough for any header frame and some junk before it

// CRC-16 as the LAME tag stores it (polynomial 0x8005, reflected, start 0).
uint16_t Crc16(const uint8_t* data, size_t size) {
  uint16_t crc = 0;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

struct FrameHeader {
  bool mpeg1 = false;
  bool mono = false;
  int rate = 0;
  int bytes = 0;    // this frame's size
  int nominal = 0;  // a frame's size at this bit rate without the padding byte
};

// A Layer III frame header; nullopt for anything else.
std::optional<FrameHeader> ParseFrameHeader(const uint8_t* p) {
  static constexpr std::array<int, 16> kBitRates1{0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
  static constexpr std::array<int, 16> kBitRates2{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
  static constexpr std::array<int, 3> kRates{44100, 48000, 32000};
  const uint32_t h = Be32(p);
  if ((h & 0xFFE00000u) != 0xFFE00000u) return std::nullopt;
  const int version = (h >> 19) & 3;  // 0: 2.5, 2: 2, 3: 1
  const int layer = (h >> 17) & 3;    // 1: Layer III
  const int bitRateIndex = (h >> 12) & 15;
  const int rateIndex = (h >> 10) & 3;
  if (version == 1 || layer != 1 || bitRateIndex == 0 || bitRateIndex == 15 || rateIndex == 3) return std::nullopt;
  FrameHeader f;
  f.mpeg1 = version == 3;
  f.mono = ((h >> 6) & 3) == 3;
  f.rate = kRates[static_cast<size_t>(rateIndex)] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
  const int kbps = (f.mpeg1 ? kBitRates1 : kBitRates2)[static_cast<size_t>(bitRateIndex)];
  f.nominal = (f.mpeg1 ? 144000 : 72000) * kbps / f.rate;
  f.bytes = f.nominal + static_cast<int>((h >> 9) & 1);
  return f;
}

// Whether `h`'s frame and byte counts fit the stream of header frame `f`:
// a CBR stream's frames all have the header frame's size (give or take the
// padding byte), a VBR stream's average lies between the smallest and the
// largest frame its version allows.
bool PlausibleCounts(const FrameHeader& f, bool cbr, const LameHeader& h) {
  const int64_t frames = h.frames + 1;  // the header frame is counted in the bytes
  if (cbr) return h.audioBytes >= frames * f.nominal && h.audioBytes <= frames * (f.nominal + 1);
  const int64_t smallest = (f.mpeg1 ? 144000 * 32 : 72000 * 8) / f.rate;
  const int64_t largest = (f.mpeg1 ? 144000 * 320 : 72000 * 160) / f.rate + 1;
  return h.audioBytes >= frames * smallest && h.audioBytes <= frames * largest;
}

// Bytes of tags after the audio: ID3v1 ("TAG", 128 bytes) and an APEv2 tag
// before or without it.
int64_t TrailingTagBytes(int fd, int64_t fileSize) {
  int64_t tags = 0;
  std::array<uint8_t, 32> footer{};
  if (fileSize >= 128 && ::pread(fd, footer.data(), 3, fileSize - 128) == 3 && std::memcmp(footer.data(), "TAG", 3) == 0) {
    tags += 128;
  }
  if (fileSize - tags >= 32 && ::pread(fd, footer.data(), 32, fileSize - tags - 32) == 32 &&
      std::memcmp(footer.data(), "APETAGEX", 8) == 0) {
    const int64_t size = Le32(footer.data() + 12);  // items and footer
    const bool hasHeader = (Le32(footer.data() + 20) & 0x80000000u) != 0;
    tags += size + (hasHeader ? 32 : 0);
  }
  return tags;
}

}  // namespace

std::optional<LameHeader> ParseLameHeader(const uint8_t* frame, size_t size) {
  if (size < 4) return std::nullopt;
  const std::optional<FrameHeader> f = ParseFrameHeader(frame);
  if (!f) return std::nullopt;
  const size_t xing = 4 + (f->mpeg1 ? (f->mono ? 17 : 32) : (f->mono ? 9 : 17));
  const size_t lame = xing + kLameTagOffset;
  if (size < lame + kLameCrcOffset + 2 || static_cast<size_t>(f->bytes) < lame + kLameCrcOffset + 2) return std::nullopt;
  const uint8_t* x = frame + xing;
  if (std::memcmp(x, "Xing", 4) != 0 && std::memcmp(x, "Info", 4) != 0) return std::nullopt;
  // LAME writes every field, so its tag sits at a fixed place.
  const uint32_t flags = Be32(x + 4);
  if ((flags & 0xF) != 0xF) return std::nullopt;
  const uint8_t* tag = frame + lame;
  const uint16_t crc = static_cast<uint16_t>(tag[kLameCrcOffset] << 8 | tag[kLameCrcOffset + 1]);
  // FFmpeg's writer gets the CRC wrong for mono streams; without a CRC that
  // holds, the counts must at least be possible for this stream's frames.
  const bool checked = Crc16(frame, lame + kLameCrcOffset) == crc;
  LameHeader h;
  h.frames = Be32(x + 8);
  h.audioBytes = Be32(x + 12);
  h.samplesPerFrame = f->mpeg1 ? 1152 : 576;
  h.rate = f->rate;
  // FFmpeg trims by the delays of these encoders' tags only.
  h.gapless = std::memcmp(tag, "LAME", 4) == 0 || std::memcmp(tag, "Lavf", 4) == 0 || std::memcmp(tag, "Lavc", 4) == 0;
  if (h.gapless) {
    const uint32_t delays = uint32_t{tag[21]} << 16 | uint32_t{tag[22]} << 8 | tag[23];
    h.delay = delays >> 12;
    h.padding = delays & 0xFFF;
  }
  if (h.frames <= 0 || h.DecodedFrames() <= 0) return std::nullopt;
  if (!checked && !PlausibleCounts(*f, std::memcmp(x, "Info", 4) == 0, h)) return std::nullopt;
  return h;
}

std::optional<HeaderLength> LengthFromLameHeader(const std::string& path) {
  // Non-blocking, so a FIFO or a device never holds the caller in open().
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  const int64_t fileSize = st.st_size;

  // An ID3v2 tag first (possibly large, with pictures) is stepped over.
  int64_t start = 0;
  std::array<uint8_t, 10> id3{};
  if (::pread(fd, id3.data(), id3.size(), 0) == 10 && std::memcmp(id3.data(), "ID3", 3) == 0) {
    start = 10 + int64_t{SyncSafe32(id3.data() + 6)} + ((id3[5] & 0x10) ? 10 : 0);
  }
  std::vector<uint8_t> head(kHeadRead);
  const ssize_t got = ::pread(fd, head.data(), head.size(), start);
  if (got < 4) return std::nullopt;
  // The header frame is the first frame; a little padding before it is usual.
  for (size_t at = 0; at + 4 <= static_cast<size_t>(got); ++at) {
    if (head[at] != 0xFF || (head[at + 1] & 0xE0) != 0xE0) continue;
    const std::optional<LameHeader> h = ParseLameHeader(head.data() + at, static_cast<size_t>(got) - at);
    if (!h) return std::nullopt;  // the first frame carries no trustworthy header
    const int64_t audio = fileSize - (start + static_cast<int64_t>(at)) - TrailingTagBytes(fd, fileSize);
    // Not a byte more or less: frames appended or cut since make it stale.
    if (audio != h->audioBytes) return std::nullopt;
    return HeaderLength{h->DecodedFrames(), h->rate};
  }
  return std::nullopt;
}

}  // namespace orve::audio
