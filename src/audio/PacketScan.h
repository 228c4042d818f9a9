#pragma once
// The true length of streams whose container does not state it exactly
// (MPEG audio without a Xing/VBRI header, raw ADTS AAC): every packet is
// demuxed, none decoded, and their durations are summed. The same pass
// records where each packet starts, so seeks can land exactly.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

struct AVFormatContext;

namespace orve::audio {

struct PacketEntry {
  int64_t bytePos;   // where the packet starts in the file
  int64_t rawFrame;  // decoded frames before it (nothing trimmed)
};

struct PacketIndex {
  std::vector<PacketEntry> packets;
  int64_t rawFrames = 0;     // what a decode gives before trimming
  int64_t leadingSkip = 0;   // encoder delay the container asks to trim
  int64_t trailingSkip = 0;  // padding at the end to trim
  bool byteSeekable = true;  // every packet has a known byte position

  int64_t TrimmedFrames() const { return rawFrames - leadingSkip - trailingSkip; }
  // Index of the last packet that starts at or before `rawFrame`.
  size_t PacketAt(int64_t rawFrame) const;
};

// Whether stream `stream` of an opened file needs the scan.
bool NeedsPacketScan(const AVFormatContext* format, int stream);

// Reads all packets of `stream` from the current position. The demuxer is
// left at the end of the file. False when no packet of the stream was seen
// or `cancel` was set on the way.
bool ScanPackets(AVFormatContext* format, int stream, PacketIndex& index,
                 const std::atomic<bool>* cancel = nullptr);

// The scan of a long file on a worker thread with a demuxer of its own, so
// opening the file never waits for it.
//
// Threads: the worker writes the index, then sets done_ (release). Any
// thread may ask Done(); Result() may be read once Done() is true. The
// owner (the decoder's thread) may Wait; the destructor cancels the scan
// and joins the worker.
class BackgroundScan {
 public:
  BackgroundScan(const std::string& path, int stream);
  ~BackgroundScan();
  BackgroundScan(const BackgroundScan&) = delete;
  BackgroundScan& operator=(const BackgroundScan&) = delete;

  bool Done() const { return done_.load(std::memory_order_acquire); }
  // Empty packets when the scan failed.
  const PacketIndex& Result() const { return index_; }
  void Wait();

 private:
  void Run(std::string path, int stream);

  PacketIndex index_;               // worker thread until done_
  std::atomic<bool> done_{false};   // worker thread writes
  std::atomic<bool> cancel_{false}; // owner writes
  std::thread worker_;              // owner
};

}  // namespace orve::audio
