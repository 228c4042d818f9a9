#include "audio/NetStream.h"

#include <algorithm>
#include <cstring>

#include "base/TextCodec.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
}

namespace orve::audio {
namespace {

constexpr int kChunkFrames = 1024;  // source frames decoded at a time
constexpr int kResamplerSlack = 64;

}  // namespace

NetStream::NetStream(std::string url, NetSettings settings, int outRate,
                     std::shared_ptr<NetState> state)
    : url_(std::move(url)),
      settings_(std::move(settings)),
      outRate_(outRate),
      state_(std::move(state)),
      decoded_(2 * static_cast<size_t>(kChunkFrames)),
      stereo_(2 * static_cast<size_t>(kChunkFrames)),
      pending_(2 * static_cast<size_t>(Resampler::kMaxOut)) {}

NetStream::~NetStream() = default;

int NetStream::InterruptRequested(void* self) {
  const auto* s = static_cast<const NetStream*>(self);
  return s->quit_.load(std::memory_order_acquire) || Clock::now() > s->deadline_ ? 1 : 0;
}

int NetStream::Read(void* out, int frames) {
  if (failed_ || finished_) return 0;
  if (quit_.load(std::memory_order_acquire)) return kNoData;
  if (decoder_ == nullptr && !Connect()) return failed_ ? 0 : kNoData;
  deadline_ = Clock::now() + kStallTimeout;
  auto* dst = static_cast<float*>(out);
  int done = 0;
  while (done < frames) {
    if (pendingOffset_ >= pendingFrames_ && !Refill()) break;
    const int n = std::min(frames - done, pendingFrames_ - pendingOffset_);
    std::memcpy(dst + 2 * static_cast<size_t>(done), &pending_[2 * static_cast<size_t>(pendingOffset_)],
                sizeof(float) * 2 * static_cast<size_t>(n));
    pendingOffset_ += n;
    done += n;
  }
  if (done == 0) {
    // A file served over HTTP ends like a file; a live stream that stops
    // (the server closed, or sent nothing until the deadline) reconnects.
    if (DeliveredWhole()) {
      finished_ = true;
      ShowStatus({});
      return 0;
    }
    Drop();
    return kNoData;
  }
  position_ += done;
  reconnect_.Succeeded();
  ShowStatus({});
  NoteMetadata();
  return done;
}

bool NetStream::Seek(int64_t) {
  decoder_.reset();
  input_ = nullptr;
  resampler_.reset();
  pendingOffset_ = pendingFrames_ = 0;
  failed_ = false;
  finished_ = false;
  reconnect_.Succeeded();
  ShowStatus({});
  position_ = 0;
  return true;
}

// Pause and Stop end the attempts: nothing connects while the channel is
// not playing.
bool NetStream::Connect() {
  if (!playing_.load(std::memory_order_acquire) || !reconnect_.Due(Clock::now())) return false;
  if (everConnected_) ShowStatus(StreamFault{StreamFault::Kind::kReconnecting}.Text());
  deadline_ = Clock::now() + kConnectTimeout;
  const OpenedStream opened = OpenStream(url_, settings_, AVIOInterruptCB{&NetStream::InterruptRequested, this});
  StreamFault fault = opened.fault;
  // A server that sent its headers and then hardly a byte is there but
  // does not answer; FFmpeg reports the cut-off read as some other error.
  const bool quiet = fault.kind == StreamFault::Kind::kNoConnection || fault.kind == StreamFault::Kind::kNotAudio;
  if (opened.format == nullptr && quiet && Clock::now() > deadline_) fault = StreamFault{StreamFault::Kind::kTimeout, 0};
  if (Attach(opened, fault)) {
    everConnected_ = true;
    return true;
  }
  if (!quit_.load(std::memory_order_acquire)) ConnectFailed(fault);
  return false;
}

// Takes the opened input over and decodes its first audio.
bool NetStream::Attach(const OpenedStream& opened, StreamFault& fault) {
  if (opened.format == nullptr) return false;
  std::string error;
  decoder_ = Decoder::FromInput(opened.format, Decoder::Output::kFloat, error);
  if (decoder_ != nullptr) resampler_ = Resampler::Create(decoder_->Rate(), outRate_);
  if (decoder_ != nullptr && resampler_ != nullptr) {
    input_ = opened.format;
    return true;
  }
  decoder_.reset();
  const bool timedOut = Clock::now() > deadline_;
  fault = StreamFault{timedOut ? StreamFault::Kind::kTimeout : StreamFault::Kind::kNotAudio, 0};
  return false;
}

void NetStream::ConnectFailed(const StreamFault& fault) {
  if (!everConnected_) {
    failed_ = true;  // never reached: the stream ends, silent, with the reason
    ShowStatus(fault.Text());
    return;
  }
  reconnect_.Failed(Clock::now());
  ShowStatus(StreamFault{StreamFault::Kind::kReconnecting}.Text());
}

void NetStream::Drop() {
  decoder_.reset();
  input_ = nullptr;
  resampler_.reset();
  pendingOffset_ = pendingFrames_ = 0;
  if (quit_.load(std::memory_order_acquire)) return;
  reconnect_.Failed(Clock::now());
  const bool playing = playing_.load(std::memory_order_acquire);
  ShowStatus(playing ? StreamFault{StreamFault::Kind::kReconnecting}.Text() : std::string());
}

// The server said how long the resource is (Content-Length) and all of it
// has been read: its end is the stream's end, not a drop.
bool NetStream::DeliveredWhole() const {
  if (input_ == nullptr || input_->pb == nullptr) return false;
  const int64_t size = avio_size(input_->pb);
  return size > 0 && avio_feof(input_->pb) && avio_tell(input_->pb) >= size;
}

// Decodes one chunk and converts it to stereo at the output's rate.
bool NetStream::Refill() {
  const int maxIn = static_cast<int>(int64_t{Resampler::kMaxOut} * resampler_->InRate() / outRate_) - kResamplerSlack;
  const int want = std::clamp(maxIn, 1, kChunkFrames);
  const int n = decoder_->Read(decoded_.data(), want);
  if (n <= 0) return false;
  const float* frames = decoded_.data();
  if (decoder_->Channels() == 1) {
    for (int i = 0; i < n; ++i) stereo_[2 * i] = stereo_[2 * i + 1] = decoded_[i];
    frames = stereo_.data();
  }
  pendingOffset_ = 0;
  pendingFrames_ = resampler_->Convert(frames, n, pending_.data(), Resampler::kMaxOut);
  return true;
}

// The server's latest block; a block that does not change, or an empty
// one, leaves the text as it was. Text that is not UTF-8 is Windows-1251.
void NetStream::NoteMetadata() {
  std::string packet = IcyMetadataPacket(input_);
  if (packet.empty() || packet == lastPacket_) return;
  state_->SetMetadata(LegacyTextToUtf8(packet));
  lastPacket_ = std::move(packet);
}

void NetStream::ShowStatus(const std::string& text) {
  if (text == status_) return;
  status_ = text;
  state_->SetStatus(text);
}

}  // namespace orve::audio
