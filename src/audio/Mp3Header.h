#pragma once
// The exact length of an MPEG Layer III file from its LAME header, without
// reading the file: LAME (and FFmpeg's libmp3lame) write an "Info" (CBR) or
// "Xing" (VBR) frame first whose fields give the number of audio frames and
// of audio bytes, and whose LAME tag gives the encoder delay and padding.
// The decoded length is what a full decode gives after FFmpeg's gapless
// trimming: frames x samples per frame, less the delay and the padding,
// where the decoder's own delay of 529 samples counts as the least padding
// (an encoder that states less, such as shine through FFmpeg, still loses
// those samples). Only LAME's and FFmpeg's tags are trimmed by; another
// encoder's tag gives its counts alone.
//
// A header is believed only when it cannot be a stale one: the audio bytes
// it states are the bytes the file has (a file cut short, or with frames
// appended after encoding, fails that and is scanned instead), and the LAME
// tag's own CRC holds, or where it does not (FFmpeg writes a wrong one for
// mono) the counts are possible for the stream's frame sizes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace orve::audio {

struct LameHeader {
  int64_t frames = 0;      // audio frames after the header frame
  int64_t audioBytes = 0;  // from the header frame's first byte to the last audio byte
  int samplesPerFrame = 0;
  int rate = 0;
  int64_t delay = 0;       // encoder delay, in samples
  int64_t padding = 0;     // samples added at the end
  bool gapless = false;    // a LAME or FFmpeg tag: the decode is trimmed by delay and padding

  static constexpr int64_t kDecoderDelay = 528 + 1;
  int64_t DecodedFrames() const {
    const int64_t all = frames * samplesPerFrame;
    return gapless ? all - delay - std::max(padding, kDecoderDelay) : all;
  }
};

// The header in `frame` (the first MPEG frame of the file, `size` bytes
// from its sync word); nullopt when there is none or its tag is damaged.
std::optional<LameHeader> ParseLameHeader(const uint8_t* frame, size_t size);

struct HeaderLength {
  int64_t frames = 0;  // decoded sample frames
  int rate = 0;
};

// The file's exact length from its LAME header, when it has a header that
// agrees with the file; nullopt otherwise. Reads a few kilobytes; only
// regular files are read.
std::optional<HeaderLength> LengthFromLameHeader(const std::string& path);

}  // namespace orve::audio
