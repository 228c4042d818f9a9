#pragma once
// What one channel sent to the device lately, and when: the frames (at the
// device rate, before volume) and, per device block, which device frames
// they filled and which stream frames they came from. The UI thread asks
// "what is being heard at device frame D?" for the position, the spectrum
// and the wave data.
//
// Thread model: the audio thread is the only writer (Append, AddBlock,
// Restart); the UI thread only reads. Everything shared is an atomic, read
// and written relaxed, with the counters published release/acquire. A
// reader stays several blocks behind the writer and checks afterwards that
// the writer has not lapped it.

#include <array>
#include <atomic>
#include <cstdint>

namespace orve::audio {

class PlayHistory {
 public:
  static constexpr int kFrames = 16384;  // about a third of a second at 48 kHz
  static constexpr int kBlocks = 128;

  // Audio thread.
  void Append(const float* stereo, int frames);
  void AddBlock(uint64_t deviceStart, int frames, int64_t streamStart, int64_t streamEnd);
  void Restart();  // after a seek: the blocks before no longer say where we are

  // UI thread. False when no block is known.
  bool StreamFrameAt(uint64_t device, int64_t& streamFrame) const;
  // The `frames` stereo frames that end at device frame `device`. With
  // `silenceAfter`, device frames after the channel's last block (a stream
  // that ran dry, a file that ended) are silence; without it (a paused
  // channel) the frames end with the last ones heard.
  bool FramesEndingAt(uint64_t device, float* stereo, int frames, bool silenceAfter) const;

 private:
  struct Block {
    std::atomic<uint64_t> deviceStart{0};
    std::atomic<int64_t> historyStart{0};  // index into the frame history
    std::atomic<int64_t> streamStart{0};
    std::atomic<int64_t> streamEnd{0};
    std::atomic<int> frames{0};
  };
  struct Found {
    int64_t historyFrame;
    int64_t streamFrame;
    uint64_t silentAfter;  // device frames from the end of the block to `device`
  };
  bool Find(uint64_t device, Found& found) const;

  std::array<std::atomic<float>, 2 * kFrames> samples_{};
  std::atomic<int64_t> written_{0};      // frames appended so far
  std::array<Block, kBlocks> blocks_{};
  std::atomic<uint64_t> blockCount_{0};  // blocks added so far
  std::atomic<uint64_t> validFrom_{0};   // first block after the last Restart
};

}  // namespace orve::audio
