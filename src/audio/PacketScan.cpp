#include "audio/PacketScan.h"

#include <algorithm>
#include <cstring>

#include "audio/LocalInput.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/intreadwrite.h>
}

namespace orve::audio {

size_t PacketIndex::PacketAt(int64_t rawFrame) const {
  auto it = std::upper_bound(packets.begin(), packets.end(), rawFrame,
                             [](int64_t f, const PacketEntry& e) { return f < e.rawFrame; });
  return it == packets.begin() ? 0 : static_cast<size_t>(it - packets.begin() - 1);
}

bool NeedsPacketScan(const AVFormatContext* format, int stream) {
  switch (format->streams[stream]->codecpar->codec_id) {
    case AV_CODEC_ID_MP1:
    case AV_CODEC_ID_MP2:
    case AV_CODEC_ID_MP3:
      return true;
    default:
      break;
  }
  // Raw ADTS has no length at all; FFmpeg guesses it from the bit rate.
  return std::strcmp(format->iformat->name, "aac") == 0 ||
         format->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE;
}

namespace {

void AddSkips(const AVPacket* packet, PacketIndex& index) {
  size_t size = 0;
  const uint8_t* skip = av_packet_get_side_data(packet, AV_PKT_DATA_SKIP_SAMPLES, &size);
  if (skip != nullptr && size >= 10) {
    index.leadingSkip += AV_RL32(skip);
    index.trailingSkip += AV_RL32(skip + 4);
  }
}

}  // namespace

bool ScanPackets(AVFormatContext* format, int stream, PacketIndex& index,
                 const std::atomic<bool>* cancel) {
  const AVStream* st = format->streams[stream];
  const AVRational perFrame{1, st->codecpar->sample_rate};
  AVPacket* packet = av_packet_alloc();
  if (packet == nullptr) return false;
  bool cancelled = false;
  while (av_read_frame(format, packet) >= 0) {
    cancelled = cancel != nullptr && cancel->load(std::memory_order_relaxed);
    if (cancelled) {
      av_packet_unref(packet);
      break;
    }
    if (packet->stream_index == stream) {
      index.packets.push_back({packet->pos, index.rawFrames});
      if (packet->pos < 0) index.byteSeekable = false;
      index.rawFrames += av_rescale_q(packet->duration, st->time_base, perFrame);
      AddSkips(packet, index);
    }
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
  return !cancelled && !index.packets.empty();
}

BackgroundScan::BackgroundScan(const std::string& path, int stream)
    : worker_(&BackgroundScan::Run, this, path, stream) {}

BackgroundScan::~BackgroundScan() {
  cancel_.store(true, std::memory_order_relaxed);
  Wait();
}

void BackgroundScan::Wait() {
  if (worker_.joinable()) worker_.join();
}

void BackgroundScan::Run(std::string path, int stream) {
  AVFormatContext* format = nullptr;
  if (OpenLocalInput(&format, path) >= 0 &&
      avformat_find_stream_info(format, nullptr) >= 0 && stream < static_cast<int>(format->nb_streams) &&
      !ScanPackets(format, stream, index_, &cancel_)) {
    index_ = PacketIndex{};
  }
  avformat_close_input(&format);
  done_.store(true, std::memory_order_release);
}

}  // namespace orve::audio
