#include "audio/PlayHistory.h"

#include <algorithm>

namespace orve::audio {
namespace {

// Blocks the reader keeps clear of, so the writer cannot reach them while
// they are read.
constexpr uint64_t kReaderMargin = 16;

}  // namespace

void PlayHistory::Append(const float* stereo, int frames) {
  const int64_t start = written_.load(std::memory_order_relaxed);
  for (int i = 0; i < 2 * frames; ++i) {
    samples_[static_cast<size_t>((2 * start + i) % (2 * kFrames))].store(stereo[i], std::memory_order_relaxed);
  }
  written_.store(start + frames, std::memory_order_release);
}

void PlayHistory::AddBlock(uint64_t deviceStart, int frames, int64_t streamStart,
                           int64_t streamEnd) {
  const uint64_t n = blockCount_.load(std::memory_order_relaxed);
  Block& b = blocks_[n % kBlocks];
  b.deviceStart.store(deviceStart, std::memory_order_relaxed);
  b.historyStart.store(written_.load(std::memory_order_relaxed) - frames, std::memory_order_relaxed);
  b.streamStart.store(streamStart, std::memory_order_relaxed);
  b.streamEnd.store(streamEnd, std::memory_order_relaxed);
  b.frames.store(frames, std::memory_order_relaxed);
  blockCount_.store(n + 1, std::memory_order_release);
}

void PlayHistory::Restart() {
  validFrom_.store(blockCount_.load(std::memory_order_relaxed), std::memory_order_release);
}

bool PlayHistory::Find(uint64_t device, Found& found) const {
  const uint64_t n = blockCount_.load(std::memory_order_acquire);
  const uint64_t keep = kBlocks - kReaderMargin;
  const uint64_t first = std::max(validFrom_.load(std::memory_order_acquire), n > keep ? n - keep : 0);
  if (n <= first) return false;
  uint64_t i = n;
  const Block* b = nullptr;
  do {
    --i;
    b = &blocks_[i % kBlocks];
  } while (i > first && b->deviceStart.load(std::memory_order_relaxed) > device);
  const uint64_t start = b->deviceStart.load(std::memory_order_relaxed);
  const int frames = b->frames.load(std::memory_order_relaxed);
  const int64_t into = device < start ? 0 : static_cast<int64_t>(std::min<uint64_t>(device - start, frames));
  const int64_t s0 = b->streamStart.load(std::memory_order_relaxed);
  const int64_t s1 = b->streamEnd.load(std::memory_order_relaxed);
  found.historyFrame = b->historyStart.load(std::memory_order_relaxed) + into;
  found.streamFrame = frames > 0 ? s0 + (s1 - s0) * into / frames : s0;
  const uint64_t end = start + static_cast<uint64_t>(frames);
  found.silentAfter = device > end ? device - end : 0;
  // Lapped while reading: the answer may mix two blocks.
  return blockCount_.load(std::memory_order_acquire) - first <= kBlocks;
}

bool PlayHistory::StreamFrameAt(uint64_t device, int64_t& streamFrame) const {
  Found f{};
  if (!Find(device, f)) return false;
  streamFrame = f.streamFrame;
  return true;
}

bool PlayHistory::FramesEndingAt(uint64_t device, float* stereo, int frames, bool silenceAfter) const {
  Found f{};
  if (frames > kFrames / 2 || !Find(device, f)) return false;
  const int silent =
      silenceAfter ? static_cast<int>(std::min<uint64_t>(f.silentAfter, static_cast<uint64_t>(frames))) : 0;
  const int heard = frames - silent;
  std::fill(stereo + 2 * heard, stereo + 2 * frames, 0.0f);
  const int64_t first = f.historyFrame - heard;
  for (int i = 0; i < heard; ++i) {
    const int64_t h = first + i;
    for (int c = 0; c < 2; ++c) {
      stereo[2 * i + c] = h < 0 ? 0.0f
                                : samples_[static_cast<size_t>((2 * h + c) % (2 * kFrames))].load(
                                      std::memory_order_relaxed);
    }
  }
  return written_.load(std::memory_order_acquire) - first <= kFrames;
}

}  // namespace orve::audio
