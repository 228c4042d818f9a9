// The audio-thread side of a channel (see Channel.h for the thread model).
// Nothing here waits, locks, allocates or logs.
#include <algorithm>
#include <cmath>

#include "audio/Channel.h"

namespace orve::audio {

void Channel::Render(float* mix, int frames, uint64_t deviceStart) {
  TakePendingResampler();
  if (!FollowSeek()) return;
  if (state_.load(std::memory_order_acquire) != ActiveState::kPlaying ||
      finishedAt_.load(std::memory_order_relaxed) >= 0) {
    return;
  }
  if (!Buffered()) return;
  const int64_t streamStart = streamAtBlockEnd_;
  const int got = Pull(frames);
  starved_.store(got < frames, std::memory_order_relaxed);
  if (got < frames && live_) buffering_ = true;
  if (got > 0) {
    streamAtBlockEnd_ = std::max(streamStart, consumed_ - resampler_->DelayFrames());
    history_.Append(converted_.data(), got);
    history_.AddBlock(deviceStart, got, streamStart, streamAtBlockEnd_);
    MixWithVolume(mix, got);
  }
  if (got < frames) NoteEnd(deviceStart + static_cast<uint64_t>(got));
}

// A new resampler is taken only once the UI thread has freed the one before.
void Channel::TakePendingResampler() {
  if (retiredResampler_.load(std::memory_order_acquire) != nullptr) return;
  Resampler* next = pendingResampler_.exchange(nullptr, std::memory_order_acq_rel);
  if (next == nullptr) return;
  retiredResampler_.store(resampler_, std::memory_order_release);
  resampler_ = next;
}

// Returns true when the channel may play; false while a seek is under way.
bool Channel::FollowSeek() {
  const uint32_t mine = audioGen_.load(std::memory_order_relaxed);
  if (seekGen_.load(std::memory_order_acquire) == mine) return true;
  const uint32_t decoder = decoderGen_.load(std::memory_order_acquire);
  if (decoder == mine) return false;  // the decoder thread is still seeking
  // The decoder thread has sought and waits: all in the ring is from before.
  ring_.DiscardAll();
  effects_.ResetAll();  // no echo or reverb tail of the old place
  consumed_ = streamAtBlockEnd_ = decoderStart_.load(std::memory_order_relaxed);
  history_.Restart();
  finishedAt_.store(-1, std::memory_order_relaxed);
  buffering_ = true;
  audioGen_.store(decoder, std::memory_order_release);
  return decoder == seekGen_.load(std::memory_order_acquire);
}

// A live channel that ran dry plays again once half its ring is full (or
// its source has ended, so what is left plays out).
bool Channel::Buffered() {
  if (!live_ || !buffering_) return true;
  if (ring_.Available() < prebufferFrames_ && !ended_.load(std::memory_order_acquire)) {
    starved_.store(true, std::memory_order_relaxed);
    return false;
  }
  buffering_ = false;
  return true;
}

// Takes stream frames from the ring, runs the effects over them at the
// stream's rate, and converts them to `frames` device frames in converted_.
int Channel::Pull(int frames) {
  const double ratio = static_cast<double>(resampler_->InRate()) / resampler_->OutRate();
  int produced = 0;
  while (produced < frames) {
    const int want = frames - produced;
    const int in = resampler_->PassThrough()
                       ? std::min(want, Resampler::kMaxIn)
                       : std::clamp(static_cast<int>(std::ceil(want * ratio)), 1, Resampler::kMaxIn);
    const int taken = ring_.Read(native_.data(), in);
    effects_.Process(native_.data(), taken);
    const int got = resampler_->Convert(native_.data(), taken, &converted_[2 * static_cast<size_t>(produced)], want);
    consumed_ += taken;
    produced += got;
    if (taken == 0 && got == 0) break;
  }
  return produced;
}

// Adds the frames with the volume, ramped over the block from the last one
// so a change never clicks.
void Channel::MixWithVolume(float* mix, int frames) {
  const float target = static_cast<float>(volume_.load(std::memory_order_relaxed)) / 100.0f;
  const float from = gain_ < 0.0f ? target : gain_;
  const float step = (target - from) / static_cast<float>(frames);
  for (int i = 0; i < frames; ++i) {
    const float g = step == 0.0f ? target : from + step * static_cast<float>(i + 1);
    mix[2 * i] += converted_[2 * static_cast<size_t>(i)] * g;
    mix[2 * i + 1] += converted_[2 * static_cast<size_t>(i) + 1] * g;
  }
  gain_ = target;
}

void Channel::NoteEnd(uint64_t deviceEnd) {
  // The end flag first: all the decoder wrote before it is then in view.
  if (ended_.load(std::memory_order_acquire) && ring_.Available() == 0) {
    finishedAt_.store(static_cast<int64_t>(deviceEnd), std::memory_order_release);
  }
}

}  // namespace orve::audio
