// Decoding, trimming and exact seeking.
#include "audio/Decoder.h"

#include <algorithm>
#include <cstring>

#include "audio/AvError.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/intreadwrite.h>
#include <libswresample/swresample.h>
}

namespace orve::audio {
namespace {

constexpr int kMaxConsecutiveErrors = 100;
// MPEG audio borrows bits from earlier frames: a seek starts decoding this
// many packets early so the frame sought decodes whole.
constexpr size_t kPrerollPackets = 10;
// Timestamped seeks start this early (a tenth of a second): codecs with
// overlapping windows need the packet before.
constexpr int kPrerollDivisor = 10;

}  // namespace

int Decoder::Read(void* out, int frames) {
  auto* dst = static_cast<uint8_t*>(out);
  const int bpf = BytesPerFrame();
  int done = 0;
  while (done < frames) {
    if (pendingOffset_ >= pendingFrames_ && !FillPending()) {
      length_ = position_;  // the end, wherever the container said it was
      lengthFinal_ = true;
      break;
    }
    const int n = std::min(frames - done, pendingFrames_ - pendingOffset_);
    std::memcpy(dst + static_cast<size_t>(done) * bpf,
                pending_.data() + static_cast<size_t>(pendingOffset_) * bpf,
                static_cast<size_t>(n) * bpf);
    pendingOffset_ += n;
    done += n;
    position_ += n;
  }
  return done;
}

int64_t Decoder::EndRaw() const {
  return length_ >= 0 && (scan_ == nullptr || headerLength_) ? length_ + originRaw_ : INT64_MAX;
}

bool Decoder::Ended() const {
  return (lengthFinal_ || scan_ == nullptr || headerLength_) && length_ >= 0 && position_ >= length_;
}

int64_t Decoder::LengthFrames() const {
  if (!lengthFinal_ && scan_ != nullptr && scan_->Done() && !scan_->Result().packets.empty()) {
    return scan_->Result().TrimmedFrames();
  }
  return length_;
}

// Takes the worker's index over once it is done (or, with `wait`, when it is).
void Decoder::AdoptScan(bool wait) {
  if (scan_ == nullptr || (!wait && !scan_->Done())) return;
  scan_->Wait();
  if (scan_->Result().packets.empty()) {
    index_.byteSeekable = false;  // seeks go by timestamps
  } else {
    index_ = scan_->Result();
    originRaw_ = index_.leadingSkip;
    if (!lengthFinal_) length_ = index_.TrimmedFrames();
  }
  scan_.reset();
}

// Until the index comes, the encoder delay is read where FFmpeg states it:
// on the first packet.
void Decoder::NoteEncoderDelay() {
  sawPacket_ = true;
  size_t size = 0;
  const uint8_t* skip = av_packet_get_side_data(packet_, AV_PKT_DATA_SKIP_SAMPLES, &size);
  if (skip != nullptr && size >= 10) originRaw_ = AV_RL32(skip);
}

// Decodes until a frame has something at or after position_, keeps that part.
bool Decoder::FillPending() {
  AdoptScan(false);
  pendingOffset_ = pendingFrames_ = 0;
  while (NextFrame()) {
    const int64_t start = FrameStartRaw();
    const int64_t wanted = position_ + originRaw_;
    const int64_t from = std::max(start, wanted);
    const int64_t to = std::min(start + frame_->nb_samples, EndRaw());
    if (start >= EndRaw()) return false;
    if (to <= from) continue;
    if (!ConvertFrame()) return false;
    pendingOffset_ = static_cast<int>(from - start);
    pendingFrames_ = std::min(pendingFrames_, static_cast<int>(to - start));
    if (pendingOffset_ >= pendingFrames_) continue;
    position_ = from - originRaw_;
    return true;
  }
  return false;
}

int64_t Decoder::FrameStartRaw() {
  if (!rawKnown_) {
    const int64_t pts = frame_->best_effort_timestamp;
    const AVRational tb = format_->streams[streamIndex_]->time_base;
    nextRaw_ = pts == AV_NOPTS_VALUE ? position_ + originRaw_
                                     : av_rescale_q(pts, tb, AVRational{1, rate_}) - originPts_;
    rawKnown_ = true;
  }
  const int64_t start = nextRaw_;
  nextRaw_ += frame_->nb_samples;
  return start;
}

bool Decoder::NextFrame() {
  int errors = 0;
  for (;;) {
    const int ret = avcodec_receive_frame(codec_, frame_);
    if (ret == 0) {
      if (firstPts_ == INT64_MIN) firstPts_ = frame_->best_effort_timestamp;
      return true;
    }
    if (ret == AVERROR_EOF || inputEnded_) return false;
    if (ret != AVERROR(EAGAIN)) {
      ++decodeErrors_;
      if (++errors > kMaxConsecutiveErrors) return false;
      continue;
    }
    if (!SendNextPacket()) {
      avcodec_send_packet(codec_, nullptr);  // drain what the decoder holds
      inputEnded_ = true;
    }
  }
}

bool Decoder::SendNextPacket() {
  while (av_read_frame(format_, packet_) >= 0) {
    if (packet_->stream_index != streamIndex_) {
      av_packet_unref(packet_);
      continue;
    }
    if (!sawPacket_ && scan_ != nullptr) NoteEncoderDelay();
    const int ret = avcodec_send_packet(codec_, packet_);
    av_packet_unref(packet_);
    if (ret >= 0) return true;
    ++decodeErrors_;  // a corrupt packet is skipped; the next may decode
  }
  return false;
}

bool Decoder::EnsureConverter() {
  const ConverterKey key{frame_->format, frame_->sample_rate, frame_->ch_layout.nb_channels,
                         frame_->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? frame_->ch_layout.u.mask : 0};
  if (convert_ != nullptr && key == converterKey_) return true;
  swr_free(&convert_);
  converterKey_ = key;
  AVChannelLayout in{};
  if (key.mask != 0) {
    av_channel_layout_from_mask(&in, key.mask);
  } else {
    av_channel_layout_default(&in, key.channels);
  }
  AVChannelLayout out{};
  av_channel_layout_default(&out, channels_);
  const AVSampleFormat fmt = output_ == Output::kS16 ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_FLT;
  int ret = swr_alloc_set_opts2(&convert_, &out, fmt, key.rate, &in,
                                static_cast<AVSampleFormat>(key.format), key.rate, 0, nullptr);
  av_channel_layout_uninit(&in);
  av_channel_layout_uninit(&out);
  if (ret >= 0) ret = swr_init(convert_);
  if (ret < 0) swr_free(&convert_);
  return ret >= 0;
}

// The frame's own format may differ from what the codec announced at open,
// so the converter follows the frames.
bool Decoder::ConvertFrame() {
  if (!EnsureConverter()) return false;
  const int capacity = swr_get_out_samples(convert_, frame_->nb_samples);
  pending_.resize(static_cast<size_t>(std::max(capacity, 0)) * BytesPerFrame());
  uint8_t* dst = pending_.data();
  const int ret = swr_convert(convert_, &dst, capacity,
                              const_cast<const uint8_t**>(frame_->extended_data),
                              frame_->nb_samples);
  pendingFrames_ = std::max(ret, 0);
  return ret >= 0;
}

bool Decoder::Seek(int64_t frame) {
  AdoptScan(true);
  const int64_t target = std::clamp<int64_t>(frame, 0, length_ >= 0 ? length_ : INT64_MAX);
  const bool ok = indexed_ && index_.byteSeekable ? SeekIndexed(target) : SeekTimestamped(target);
  if (!ok) return false;
  // Back at the start, a new decoder decodes exactly as at open (a flushed
  // AAC decoder keeps state that colours its first frames).
  std::string error;
  AVCodecContext* fresh = target == 0 ? NewCodecContext(error) : nullptr;
  if (fresh != nullptr) {
    avcodec_free_context(&codec_);
    codec_ = fresh;
  } else {
    avcodec_flush_buffers(codec_);
  }
  inputEnded_ = false;
  pendingOffset_ = pendingFrames_ = 0;
  position_ = target;
  return true;
}

bool Decoder::SeekIndexed(int64_t target) {
  size_t k = index_.PacketAt(target + originRaw_);
  k = k > kPrerollPackets ? k - kPrerollPackets : 0;
  if (av_seek_frame(format_, streamIndex_, index_.packets[k].bytePos, AVSEEK_FLAG_BYTE) < 0) {
    return false;
  }
  nextRaw_ = index_.packets[k].rawFrame;
  rawKnown_ = true;
  return true;
}

bool Decoder::SeekTimestamped(int64_t target) {
  const AVStream* st = format_->streams[streamIndex_];
  if (!indexed_ && firstPts_ != INT64_MIN && firstPts_ != AV_NOPTS_VALUE) {
    originPts_ = av_rescale_q(firstPts_, st->time_base, AVRational{1, rate_});
  }
  // May go before the start: the priming packet of AAC in MP4 is then decoded too.
  const int64_t from = target - rate_ / kPrerollDivisor;
  const int64_t ts = av_rescale_q(from + originPts_, AVRational{1, rate_}, st->time_base);
  if (av_seek_frame(format_, streamIndex_, ts, AVSEEK_FLAG_BACKWARD) < 0) return false;
  rawKnown_ = false;
  return true;
}

}  // namespace orve::audio
