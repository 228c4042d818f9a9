// The UI-thread and decoder-thread side of a channel (see Channel.h for the
// thread model; the audio-thread side is in ChannelRender.cpp).
#include "audio/Channel.h"

#include <algorithm>
#include <chrono>

namespace orve::audio {
namespace {

constexpr int kDecodeChunk = 2048;  // frames per decoder read
constexpr auto kSeekPoll = std::chrono::milliseconds(1);
constexpr auto kEndedPoll = std::chrono::milliseconds(250);

}  // namespace

std::unique_ptr<Channel> Channel::Create(std::unique_ptr<Source> source, int deviceRate,
                                         int bufferMs) {
  std::unique_ptr<Channel> ch(new Channel(std::move(source), deviceRate, bufferMs));
  auto resampler = Resampler::Create(ch->rate_, deviceRate);
  if (resampler == nullptr) return nullptr;
  ch->resampler_ = resampler.release();
  return ch;
}

Channel::Channel(std::unique_ptr<Source> source, int deviceRate, int bufferMs)
    : rate_(source->Rate()),
      channels_(source->Channels()),
      deviceRate_(deviceRate),
      live_(source->Live()),
      prebufferFrames_(static_cast<int>(int64_t{std::max(bufferMs, kMinBufferMs)} * rate_ / 2000)),
      source_(std::move(source)),
      ring_(static_cast<int>(int64_t{std::max(bufferMs, kMinBufferMs)} * rate_ / 1000)),
      length_(source_->LengthFrames()),
      native_(2 * static_cast<size_t>(Resampler::kMaxIn)),
      converted_(2 * static_cast<size_t>(kMaxBlock)) {}

Channel::~Channel() {
  Interrupt();
  if (thread_.joinable()) thread_.join();
  CollectRetired();
  delete pendingResampler_.exchange(nullptr);
  delete resampler_;
}

void Channel::Play() {
  source_->SetPlaying(true);
  if (!thread_.joinable()) thread_ = std::thread(&Channel::DecodeLoop, this);
  state_.store(ActiveState::kPlaying, std::memory_order_release);
  Wake();
}

void Channel::Pause() {
  source_->SetPlaying(false);
  state_.store(ActiveState::kPaused, std::memory_order_release);
}

void Channel::Stop() {
  source_->SetPlaying(false);
  state_.store(ActiveState::kStopped, std::memory_order_release);
}

void Channel::Interrupt() {
  quit_.store(true, std::memory_order_release);
  source_->Interrupt();
  Wake();
}

void Channel::Wake() {
  {
    const std::lock_guard<std::mutex> lock(wakeMutex_);
    woken_ = true;
  }
  wake_.notify_one();
}

int64_t Channel::Length() const {
  // Before the first Play the decoder is still this thread's to ask.
  if (!thread_.joinable()) return source_->LengthFrames();
  return length_.load(std::memory_order_acquire);
}

bool Channel::Finished(uint64_t heard) const {
  const int64_t at = finishedAt_.load(std::memory_order_acquire);
  return at >= 0 && heard >= static_cast<uint64_t>(at) &&
         audioGen_.load(std::memory_order_acquire) == seekGen_.load(std::memory_order_relaxed);
}

ActiveState Channel::State(uint64_t heard) const {
  const ActiveState s = state_.load(std::memory_order_acquire);
  if (s != ActiveState::kPlaying) return s;
  if (Finished(heard)) return ActiveState::kStopped;
  // A network stream waiting for data says so; a file's short gaps do not count.
  if (live_ && starved_.load(std::memory_order_relaxed)) return ActiveState::kStalled;
  return s;
}

int64_t Channel::Position(uint64_t heard) const {
  if (audioGen_.load(std::memory_order_acquire) != seekGen_.load(std::memory_order_relaxed)) {
    return seekTarget_.load(std::memory_order_relaxed);
  }
  if (Finished(heard)) return Length();
  int64_t frame = 0;
  if (!history_.StreamFrameAt(heard, frame)) frame = decoderStart_.load(std::memory_order_acquire);
  const int64_t length = Length();
  return std::clamp<int64_t>(frame, 0, length >= 0 ? length : INT64_MAX);
}

void Channel::Seek(int64_t frame) {
  const int64_t length = Length();
  seekTarget_.store(std::clamp<int64_t>(frame, 0, length >= 0 ? length : INT64_MAX),
                    std::memory_order_relaxed);
  seekGen_.fetch_add(1, std::memory_order_release);
  Wake();
}

bool Channel::SetFrequency(int hz) {
  auto next = Resampler::Create(hz == 0 ? rate_ : hz, deviceRate_);
  if (next == nullptr) return false;
  CollectRetired();
  delete pendingResampler_.exchange(next.release(), std::memory_order_acq_rel);
  frequency_ = hz;
  return true;
}

void Channel::CollectRetired() const {
  delete retiredResampler_.exchange(nullptr, std::memory_order_acq_rel);
}

// --- decoder thread ---

void Channel::DecodeLoop() {
  std::vector<float> decoded(static_cast<size_t>(kDecodeChunk) * channels_);
  std::vector<float> stereo(2 * static_cast<size_t>(kDecodeChunk));
  // A live source waiting for the network is asked again this often.
  const auto retry = std::chrono::milliseconds(std::clamp(ring_.Capacity() * 1000 / rate_ / 8, 2, 20));
  while (!quit_.load(std::memory_order_acquire)) {
    length_.store(source_->LengthFrames(), std::memory_order_release);
    if (CarryOutSeek()) continue;
    const bool flushed = audioGen_.load(std::memory_order_acquire) ==
                         decoderGen_.load(std::memory_order_relaxed);
    if (!flushed) {
      std::this_thread::sleep_for(kSeekPoll);
    } else if (ended_.load(std::memory_order_relaxed)) {
      Idle(kEndedPoll);  // only a seek (which wakes it) or a length learnt late matters now
    } else if (ring_.Free() < kDecodeChunk) {
      // Full. A file sleeps until a quarter of the ring has been played and
      // then refills it in one go: waking for every chunk would cost more
      // than decoding. A live source keeps reading the network as it comes,
      // so the server's titles are taken when they arrive.
      const int64_t untilRefill = ring_.Capacity() / 4 - ring_.Free();
      Idle(live_ ? retry : std::chrono::milliseconds(std::max<int64_t>(2, untilRefill * 1000 / rate_)));
    } else if (!FillRing(decoded, stereo)) {
      Idle(retry);
    }
  }
}

void Channel::Idle(std::chrono::milliseconds most) {
  std::unique_lock<std::mutex> lock(wakeMutex_);
  wake_.wait_for(lock, most, [this] { return woken_; });
  woken_ = false;
}

// Seeks the decoder when the UI thread asked for it; the ring is emptied by
// the audio thread before anything new is written.
bool Channel::CarryOutSeek() {
  const uint32_t wanted = seekGen_.load(std::memory_order_acquire);
  if (wanted == decoderGen_.load(std::memory_order_relaxed)) return false;
  // A container that cannot seek keeps its place; the hand-over still runs
  // so the position reported is the true one.
  source_->Seek(seekTarget_.load(std::memory_order_relaxed));
  ended_.store(false, std::memory_order_relaxed);
  decoderStart_.store(source_->Position(), std::memory_order_relaxed);
  decoderGen_.store(wanted, std::memory_order_release);
  return true;
}

bool Channel::FillRing(std::vector<float>& decoded, std::vector<float>& stereo) {
  const int n = source_->Read(decoded.data(), kDecodeChunk);
  if (n == Source::kNoData) return false;
  if (n == 0) {
    length_.store(source_->LengthFrames(), std::memory_order_release);
    ended_.store(true, std::memory_order_release);
    return true;
  }
  const float* frames = decoded.data();
  if (channels_ == 1) {
    for (int i = 0; i < n; ++i) stereo[2 * i] = stereo[2 * i + 1] = decoded[i];
    frames = stereo.data();
  }
  ring_.Write(frames, n);
  return true;
}

}  // namespace orve::audio
