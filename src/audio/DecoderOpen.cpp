// Opening a decoder: container, codec, the stream's length.
#include "audio/AvError.h"
#include "audio/Decoder.h"
#include "audio/LocalInput.h"
#include "audio/Mp3Header.h"
#include "audio/RegularFile.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

namespace orve::audio {

std::unique_ptr<Decoder> Decoder::Open(const std::string& path, Output output,
                                       std::string& error, int64_t foregroundScanBytes) {
  std::unique_ptr<Decoder> d(new Decoder());
  d->output_ = output;
  if (!d->OpenInput(path, error)) return nullptr;
  d->indexed_ = NeedsPacketScan(d->format_, d->streamIndex_);
  if (!d->OpenCodec(error)) return nullptr;
  d->FindLength(path, foregroundScanBytes);
  if (!d->OpenFrames(error)) return nullptr;
  // Decoding the first frame now turns away files that only look like audio.
  if (!d->FillPending()) {
    error = path + ": no decodable audio";
    return nullptr;
  }
  return d;
}

std::unique_ptr<Decoder> Decoder::FromInput(AVFormatContext* format, Output output,
                                            std::string& error) {
  std::unique_ptr<Decoder> d(new Decoder());
  d->output_ = output;
  d->format_ = format;
  const std::string name = format->url != nullptr ? format->url : "stream";
  if (!d->FindAudioStream(name, error) || !d->OpenCodec(error) || !d->OpenFrames(error)) {
    return nullptr;
  }
  if (!d->FillPending()) {
    error = name + ": no decodable audio";
    return nullptr;
  }
  return d;
}

Decoder::~Decoder() {
  swr_free(&convert_);
  av_frame_free(&frame_);
  av_packet_free(&packet_);
  avcodec_free_context(&codec_);
  // An input read through our own I/O context leaves closing it to us.
  AVIOContext* ownIo = format_ != nullptr && (format_->flags & AVFMT_FLAG_CUSTOM_IO) ? format_->pb : nullptr;
  avformat_close_input(&format_);
  avio_closep(&ownIo);
}

int Decoder::BytesPerFrame() const {
  return channels_ * (output_ == Output::kS16 ? 2 : 4);
}

bool Decoder::OpenInput(const std::string& path, std::string& error) {
  if (!IsRegularFile(path)) {
    error = path + ": not a regular file";
    return false;
  }
  int ret = OpenLocalInput(&format_, path);
  if (ret < 0) {
    error = path + ": " + AvErrorText("avformat_open_input", ret);
    return false;
  }
  ret = avformat_find_stream_info(format_, nullptr);
  if (ret < 0) {
    error = path + ": " + AvErrorText("avformat_find_stream_info", ret);
    return false;
  }
  return FindAudioStream(path, error);
}

bool Decoder::FindAudioStream(const std::string& name, std::string& error) {
  streamIndex_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (streamIndex_ < 0) {
    error = name + ": " + AvErrorText("av_find_best_stream", streamIndex_);
    return false;
  }
  return true;
}

bool Decoder::OpenFrames(std::string& error) {
  packet_ = av_packet_alloc();
  frame_ = av_frame_alloc();
  if (packet_ == nullptr || frame_ == nullptr) {
    error = "out of memory";
    return false;
  }
  return true;
}

AVCodecContext* Decoder::NewCodecContext(std::string& error) const {
  const AVStream* st = format_->streams[streamIndex_];
  const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
  if (codec == nullptr) {
    error = std::string("no decoder for ") + avcodec_get_name(st->codecpar->codec_id);
    return nullptr;
  }
  AVCodecContext* context = avcodec_alloc_context3(codec);
  if (context == nullptr) {
    error = "out of memory";
    return nullptr;
  }
  int ret = avcodec_parameters_to_context(context, st->codecpar);
  context->pkt_timebase = st->time_base;
  // Indexed streams trim delay and padding here, by their exact index.
  if (indexed_) context->flags2 |= AV_CODEC_FLAG2_SKIP_MANUAL;
  if (ret >= 0) ret = avcodec_open2(context, codec, nullptr);
  if (ret < 0) {
    error = AvErrorText("avcodec_open2", ret);
    avcodec_free_context(&context);
  }
  return context;
}

bool Decoder::OpenCodec(std::string& error) {
  codec_ = NewCodecContext(error);
  if (codec_ == nullptr) return false;
  rate_ = codec_->sample_rate;
  channels_ = codec_->ch_layout.nb_channels == 1 ? 1 : 2;
  if (rate_ <= 0 || codec_->ch_layout.nb_channels <= 0) {
    error = "stream without sample rate or channels";
    return false;
  }
  if (rate_ > kMaxRate || codec_->ch_layout.nb_channels > kMaxChannels) {
    error = "implausible stream: " + std::to_string(rate_) + " Hz, " +
            std::to_string(codec_->ch_layout.nb_channels) + " channels";
    return false;
  }
  return true;
}

void Decoder::FindLength(const std::string& path, int64_t foregroundScanBytes) {
  // An MP3 whose LAME header agrees with the file states its exact length:
  // the seek index is then built on a worker, as for a long file.
  const std::optional<HeaderLength> header = indexed_ ? LengthFromLameHeader(path) : std::nullopt;
  headerLength_ = header && header->rate == rate_;
  if (indexed_ && (headerLength_ || avio_size(format_->pb) > foregroundScanBytes)) {
    // Without the header's length, FFmpeg's estimate until the worker has the true one.
    scan_ = std::make_unique<BackgroundScan>(path, streamIndex_);
    length_ = headerLength_ ? header->frames : ContainerLength();
  } else if (indexed_ && ScanPackets(format_, streamIndex_, index_)) {
    originRaw_ = index_.leadingSkip;
    length_ = index_.TrimmedFrames();
    RewindAfterScan();
  } else {
    indexed_ = false;
    length_ = ContainerLength();
    const AVStream* st = format_->streams[streamIndex_];
    if (st->start_time != AV_NOPTS_VALUE) originPts_ = av_rescale_q(st->start_time, st->time_base, AVRational{1, rate_});
  }
  nextRaw_ = 0;
}

int64_t Decoder::ContainerLength() const {
  const AVStream* st = format_->streams[streamIndex_];
  const AVRational perFrame{1, rate_};
  // Ogg Opus states its length with the encoder's pre-skip, which the
  // decoder drops.
  const int64_t preSkip = st->codecpar->codec_id == AV_CODEC_ID_OPUS ? st->codecpar->initial_padding : 0;
  if (st->duration != AV_NOPTS_VALUE) return av_rescale_q(st->duration, st->time_base, perFrame) - preSkip;
  if (format_->duration != AV_NOPTS_VALUE) {
    return av_rescale_q(format_->duration, AVRational{1, AV_TIME_BASE}, perFrame);
  }
  return -1;
}

// Back to the first packet; what follows decodes from the start.
void Decoder::RewindAfterScan() {
  const AVStream* st = format_->streams[streamIndex_];
  if (index_.byteSeekable) {
    av_seek_frame(format_, streamIndex_, index_.packets.front().bytePos, AVSEEK_FLAG_BYTE);
  } else {
    av_seek_frame(format_, streamIndex_, st->start_time == AV_NOPTS_VALUE ? 0 : st->start_time,
                  AVSEEK_FLAG_BACKWARD);
  }
}

}  // namespace orve::audio
