#pragma once
// One decoder for every file format: FFmpeg demuxes and decodes, and
// libswresample converts to interleaved 16-bit or float at the stream's own
// rate, mono or stereo (more channels are mixed down to stereo).
//
// Positions are frames of that output, counted from the first sample a
// full decode gives. Two ways of knowing them:
// - indexed (MPEG audio, raw ADTS AAC, and any format whose length FFmpeg
//   only estimates from the bit rate): a scan of the packets gives the true
//   length and an exact seek index; encoder delay and padding are trimmed
//   here, the way FFmpeg would trim them. The scan runs at open (about
//   1.5 ms per MB) or, for files above foregroundScanBytes and MP3 files
//   whose LAME header states their exact length, on a worker: the header's
//   length or FFmpeg's estimate stands until it is done, the encoder delay
//   is taken from the first packet, and a seek waits for the index;
// - timestamped (the rest): the container's duration is exact, and a seek
//   lands by the decoded frames' timestamps.
// Either way a seek decodes and discards up to the exact frame.
//
// Not thread-safe: one thread at a time (the UI thread before playback, the
// channel's decoder thread while it runs).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/PacketScan.h"
#include "audio/Source.h"

struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;
struct SwrContext;

namespace orve::audio {

class Decoder final : public Source {
 public:
  enum class Output { kS16, kFloat };

  static constexpr int64_t kForegroundScanBytes = 16 << 20;
  // Beyond what any real recording has: a header claiming more is damaged,
  // and buffers sized from it would be absurd.
  static constexpr int kMaxRate = 768000;
  static constexpr int kMaxChannels = 32;

  // Nullptr when the file cannot be opened or holds no decodable audio;
  // `error` then says why.
  static std::unique_ptr<Decoder> Open(const std::string& path, Output output, std::string& error,
                                       int64_t foregroundScanBytes = kForegroundScanBytes);
  // A decoder over an input already opened (a network stream): no length
  // scan, the length stays unknown. Takes `format` over, also on failure.
  static std::unique_ptr<Decoder> FromInput(AVFormatContext* format, Output output,
                                            std::string& error);
  ~Decoder() override;
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  int Rate() const override { return rate_; }
  int Channels() const override { return channels_; }
  int BytesPerFrame() const;
  // Length in frames; -1 when unknown. A decode that ends early (a broken
  // file) makes Position() at the end the length that holds.
  // Safe to ask from any thread while the owner does not use the decoder.
  int64_t LengthFrames() const override;
  int64_t Position() const override { return position_; }
  // Everything has been read: a read gave 0, or the position is at a length
  // that is known for sure.
  bool Ended() const;
  // Packets the decoder refused so far (corrupt data is skipped).
  int DecodeErrors() const { return decodeErrors_; }

  // Up to `frames` frames into `out`; 0 at the end of the stream.
  int Read(void* out, int frames) override;
  // Moves to frame `frame` exactly (clamped to the length). False when the
  // container cannot seek; the position is then unchanged.
  bool Seek(int64_t frame) override;

 private:
  Decoder() = default;
  bool OpenInput(const std::string& path, std::string& error);
  bool FindAudioStream(const std::string& name, std::string& error);
  bool OpenFrames(std::string& error);
  bool OpenCodec(std::string& error);
  // An opened decoder for the stream; nullptr with `error` set on failure.
  AVCodecContext* NewCodecContext(std::string& error) const;
  bool OpenConverter(std::string& error);
  void FindLength(const std::string& path, int64_t foregroundScanBytes);
  int64_t ContainerLength() const;
  void RewindAfterScan();
  void AdoptScan(bool wait);
  void NoteEncoderDelay();
  bool NextFrame();
  bool SendNextPacket();
  bool ConvertFrame();
  bool EnsureConverter();
  bool FillPending();
  int64_t FrameStartRaw();
  bool SeekIndexed(int64_t target);
  bool SeekTimestamped(int64_t target);
  int64_t EndRaw() const;

  AVFormatContext* format_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  AVPacket* packet_ = nullptr;
  AVFrame* frame_ = nullptr;
  SwrContext* convert_ = nullptr;
  struct ConverterKey {
    int format = -1, rate = 0, channels = 0;
    uint64_t mask = 0;
    bool operator==(const ConverterKey&) const = default;
  } converterKey_;  // the frames convert_ was made for
  int streamIndex_ = -1;
  Output output_ = Output::kFloat;
  int rate_ = 0;
  int channels_ = 0;

  PacketIndex index_;       // filled for indexed streams only
  std::unique_ptr<BackgroundScan> scan_;  // a scan still running, or not yet adopted
  bool lengthFinal_ = false;  // the decode has reached the end: length_ is what it gave
  bool headerLength_ = false;  // length_ is exact from the start (a LAME header's)
  bool sawPacket_ = false;
  bool indexed_ = false;
  int64_t length_ = -1;     // frames, -1 unknown
  int64_t originRaw_ = 0;   // raw frame of output frame 0 (the encoder delay)
  int64_t originPts_ = 0;   // pts (in frames) of raw frame 0
  int64_t firstPts_ = INT64_MIN;  // pts of the first decoded frame, when known

  int64_t nextRaw_ = 0;     // raw frame index of the next decoded frame
  bool rawKnown_ = true;    // false right after a timestamped seek
  bool inputEnded_ = false;
  int decodeErrors_ = 0;

  std::vector<uint8_t> pending_;  // converted frames not yet read
  int pendingOffset_ = 0;         // frames already taken from pending_
  int pendingFrames_ = 0;
  int64_t position_ = 0;          // output frame of the next frame read
};

}  // namespace orve::audio
