#pragma once
// A network stream as a channel's source: connects on the channel's decoder
// thread (never on the UI thread), decodes, delivers stereo float at the
// output's rate, and reconnects when the stream drops or stalls while the
// channel plays. Delivering at the output's rate keeps the channel (its
// ring, effects and volume) unchanged when a reconnection lands on a server
// with another rate.
//
// Thread model:
// - stream thread (the channel's decoder thread): Read, Seek and everything
//   they call, including every network call. All its fields are its own.
// - UI thread: SetPlaying and Interrupt, through atomics only.
// - what the UI thread reads back (status, metadata) goes through NetState.
// Every blocking FFmpeg call checks InterruptRequested through
// AVIOInterruptCB, so it returns within ~100 ms of Interrupt, and on its own
// when the network stalls past the deadline.

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "audio/Decoder.h"
#include "audio/NetState.h"
#include "audio/Reconnect.h"
#include "audio/Resampler.h"
#include "audio/Source.h"
#include "audio/StreamOpener.h"

struct AVFormatContext;

namespace orve::audio {

class NetStream final : public Source {
 public:
  // Time allowed to connect and reach the first audio.
  static constexpr auto kConnectTimeout = std::chrono::seconds(10);
  // No data for this long while reading: the stream has stalled.
  static constexpr auto kStallTimeout = std::chrono::seconds(4);

  NetStream(std::string url, NetSettings settings, int outRate, std::shared_ptr<NetState> state);
  ~NetStream() override;

  int Rate() const override { return outRate_; }
  int Channels() const override { return 2; }
  int64_t LengthFrames() const override { return -1; }
  int64_t Position() const override { return position_; }
  int Read(void* out, int frames) override;
  // Any seek starts afresh: the connection is dropped and a failure forgotten.
  bool Seek(int64_t frame) override;
  bool Live() const override { return true; }
  void SetPlaying(bool playing) override { playing_.store(playing, std::memory_order_release); }
  void Interrupt() override { quit_.store(true, std::memory_order_release); }

 private:
  using Clock = std::chrono::steady_clock;
  static int InterruptRequested(void* self);

  bool Connect();
  bool Attach(const OpenedStream& opened, StreamFault& fault);
  void ConnectFailed(const StreamFault& fault);
  void Drop();
  bool Refill();
  bool DeliveredWhole() const;
  void NoteMetadata();
  void ShowStatus(const std::string& text);

  const std::string url_;
  const NetSettings settings_;
  const int outRate_;
  const std::shared_ptr<NetState> state_;
  std::atomic<bool> playing_{false};  // UI thread writes
  std::atomic<bool> quit_{false};     // UI thread writes

  // stream thread only
  std::unique_ptr<Decoder> decoder_;  // the open connection, or none
  AVFormatContext* input_ = nullptr;  // decoder_'s input, for its ICY metadata
  std::unique_ptr<Resampler> resampler_;
  Reconnect reconnect_;
  Clock::time_point deadline_{Clock::time_point::max()};  // network calls give up after it
  bool everConnected_ = false;  // a drop after this reconnects; a first failure is final
  bool failed_ = false;
  bool finished_ = false;  // a resource of known length was delivered whole: the stream has ended
  std::string status_;
  std::string lastPacket_;
  std::vector<float> decoded_, stereo_, pending_;  // source rate, stereo, output rate
  int pendingOffset_ = 0;
  int pendingFrames_ = 0;
  int64_t position_ = 0;  // frames delivered since the last seek
};

}  // namespace orve::audio
