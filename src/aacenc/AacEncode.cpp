#include "aacenc/AacEncode.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

#include <sys/stat.h>

#include "audio/AvError.h"
#include "audio/Decoder.h"
#include "audio/LocalInput.h"

namespace orve::aacenc {
namespace {

// faac's quality 100 gives about 64 kbit/s per channel; the native encoder
// tops out near 160 kbit/s per channel at 44.1 kHz.
constexpr int kBitsPerQualityStep = 640;
constexpr int kMinPerChannel = 16000;
constexpr int kMaxPerChannel = 160000;

struct CodecFree {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct OutputFree {
  void operator()(AVFormatContext* f) const {
    if (f->pb != nullptr) avio_closep(&f->pb);
    avformat_free_context(f);
  }
};

// The bit rate in bit/s the options give for `channels` channels.
int BitRate(const AacOptions& options, int channels) {
  const int perChannel = options.kbps > 0 ? options.kbps * 1000 : options.quality * kBitsPerQualityStep;
  return std::clamp(perChannel, kMinPerChannel, kMaxPerChannel) * channels;
}

class Encoder {
 public:
  bool Open(const audio::Decoder& source, const AacOptions& options, const std::string& output,
            std::string& error);
  // Encodes `frames` interleaved float frames (at most one AAC frame); with
  // `frames` 0 drains the encoder.
  bool Encode(const float* interleaved, int frames, std::string& error);
  bool Finish(std::string& error);
  int FrameSize() const { return codec_->frame_size; }

 private:
  bool WritePackets(std::string& error);

  std::unique_ptr<AVCodecContext, CodecFree> codec_;
  std::unique_ptr<AVFormatContext, OutputFree> muxer_;
  std::unique_ptr<AVFrame, FrameFree> frame_{av_frame_alloc()};
  std::unique_ptr<AVPacket, PacketFree> packet_{av_packet_alloc()};
  AVStream* stream_ = nullptr;
  int64_t pts_ = 0;
};

bool Encoder::Open(const audio::Decoder& source, const AacOptions& options, const std::string& output,
                   std::string& error) {
  const AVCodec* aac = avcodec_find_encoder(AV_CODEC_ID_AAC);
  if (aac == nullptr) {
    error = "FFmpeg has no AAC encoder";
    return false;
  }
  codec_.reset(avcodec_alloc_context3(aac));
  const int channels = source.Channels();
  av_channel_layout_default(&codec_->ch_layout, channels);
  codec_->sample_rate = source.Rate();
  codec_->sample_fmt = AV_SAMPLE_FMT_FLTP;
  codec_->bit_rate = BitRate(options, channels);
  codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  AVFormatContext* muxer = nullptr;
  int ret = avformat_alloc_output_context2(&muxer, nullptr, "adts", output.c_str());
  if (ret < 0) {
    error = audio::AvErrorText("avformat_alloc_output_context2", ret);
    return false;
  }
  muxer_.reset(muxer);
  if ((ret = avcodec_open2(codec_.get(), aac, nullptr)) < 0) {
    error = std::to_string(source.Rate()) + " Hz: " + audio::AvErrorText("avcodec_open2", ret);
    return false;
  }
  stream_ = avformat_new_stream(muxer, nullptr);
  if (stream_ == nullptr || avcodec_parameters_from_context(stream_->codecpar, codec_.get()) < 0) {
    error = "out of memory";
    return false;
  }
  stream_->time_base = AVRational{1, codec_->sample_rate};
  if ((ret = avio_open(&muxer->pb, output.c_str(), AVIO_FLAG_WRITE)) < 0 ||
      (ret = avformat_write_header(muxer, nullptr)) < 0) {
    error = output + ": " + audio::AvErrorText("avio_open", ret);
    return false;
  }
  frame_->format = AV_SAMPLE_FMT_FLTP;
  frame_->sample_rate = codec_->sample_rate;
  av_channel_layout_copy(&frame_->ch_layout, &codec_->ch_layout);
  frame_->nb_samples = codec_->frame_size;
  if (av_frame_get_buffer(frame_.get(), 0) < 0) {
    error = "out of memory";
    return false;
  }
  return true;
}

bool Encoder::Encode(const float* interleaved, int frames, std::string& error) {
  int ret = 0;
  if (frames == 0) {
    ret = avcodec_send_frame(codec_.get(), nullptr);
  } else {
    if ((ret = av_frame_make_writable(frame_.get())) < 0) {
      error = audio::AvErrorText("av_frame_make_writable", ret);
      return false;
    }
    const int channels = codec_->ch_layout.nb_channels;
    for (int c = 0; c < channels; ++c) {
      auto* plane = reinterpret_cast<float*>(frame_->data[c]);
      for (int i = 0; i < frames; ++i) plane[i] = interleaved[i * channels + c];
    }
    frame_->nb_samples = frames;
    frame_->pts = pts_;
    pts_ += frames;
    ret = avcodec_send_frame(codec_.get(), frame_.get());
  }
  if (ret < 0) {
    error = audio::AvErrorText("avcodec_send_frame", ret);
    return false;
  }
  return WritePackets(error);
}

bool Encoder::WritePackets(std::string& error) {
  for (;;) {
    int ret = avcodec_receive_packet(codec_.get(), packet_.get());
    if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) return true;
    if (ret < 0) {
      error = audio::AvErrorText("avcodec_receive_packet", ret);
      return false;
    }
    av_packet_rescale_ts(packet_.get(), codec_->time_base, stream_->time_base);
    packet_->stream_index = stream_->index;
    if ((ret = av_interleaved_write_frame(muxer_.get(), packet_.get())) < 0) {
      error = audio::AvErrorText("av_interleaved_write_frame", ret);
      return false;
    }
  }
}

bool Encoder::Finish(std::string& error) {
  if (!Encode(nullptr, 0, error)) return false;
  int ret = av_write_trailer(muxer_.get());
  if (ret >= 0) ret = avio_closep(&muxer_->pb);
  if (ret < 0) {
    error = audio::AvErrorText("av_write_trailer", ret);
    return false;
  }
  return true;
}

// A regular file is opened with its exact length; a pipe (the way
// conversions hand their WAV over) is read as it comes.
std::unique_ptr<audio::Decoder> OpenSource(const std::string& input, std::string& error) {
  struct stat st {};
  if (::stat(input.c_str(), &st) != 0 || S_ISREG(st.st_mode)) {
    return audio::Decoder::Open(input, audio::Decoder::Output::kFloat, error);
  }
  AVFormatContext* format = nullptr;
  int ret = audio::OpenLocalInput(&format, input);
  if (ret >= 0 && (ret = avformat_find_stream_info(format, nullptr)) < 0) avformat_close_input(&format);
  if (ret < 0) {
    error = input + ": " + audio::AvErrorText("avformat_open_input", ret);
    return nullptr;
  }
  return audio::Decoder::FromInput(format, audio::Decoder::Output::kFloat, error);
}

}  // namespace


bool EncodeToAdts(const std::string& input, const std::string& output, const AacOptions& options,
                  std::string& error) {
  const bool ok = [&] {
    std::unique_ptr<audio::Decoder> source = OpenSource(input, error);
    if (source == nullptr) return false;
    Encoder encoder;
    if (!encoder.Open(*source, options, output, error)) return false;
    const int frameSize = encoder.FrameSize();
    std::vector<float> block(static_cast<size_t>(frameSize) * static_cast<size_t>(source->Channels()));
    // The encoder takes whole frames; only the last may be short.
    int filled = 0;
    for (;;) {
      const int got = source->Read(block.data() + filled * source->Channels(), frameSize - filled);
      filled += got;
      if (filled == frameSize || (got == 0 && filled > 0)) {
        if (!encoder.Encode(block.data(), filled, error)) return false;
        filled = 0;
      }
      if (got == 0) break;
    }
    return encoder.Finish(error);
  }();
  if (!ok) std::remove(output.c_str());
  return ok;
}

}  // namespace orve::aacenc
