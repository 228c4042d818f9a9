#pragma once
// What a network stream tells the UI thread: its status text and its latest
// ICY metadata.
//
// Threads: the stream's own thread writes, the UI thread reads. Both hold
// the mutex only to copy a short string, so neither waits for long.

#include <mutex>
#include <string>

namespace orve::audio {

class NetState {
 public:
  // Stream thread.
  void SetStatus(std::string status) {
    std::lock_guard lock(mutex_);
    status_ = std::move(status);
  }
  void SetMetadata(std::string metadata) {
    std::lock_guard lock(mutex_);
    metadata_ = std::move(metadata);
  }

  // UI thread.
  std::string Status() const {
    std::lock_guard lock(mutex_);
    return status_;
  }
  std::string Metadata() const {
    std::lock_guard lock(mutex_);
    return metadata_;
  }

 private:
  mutable std::mutex mutex_;
  std::string status_;    // "" while all is well
  std::string metadata_;  // UTF-8, "" until the server sends a block
};

}  // namespace orve::audio
