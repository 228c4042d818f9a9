#pragma once
// Frees retired channels of network streams on a thread of its own: a
// stream thread may need up to ~100 ms to leave an interrupted network call
// (longer inside a name lookup, which FFmpeg cannot interrupt), and the UI
// thread must not wait for that.
//
// Thread model: the UI thread calls Take; the reaper thread destroys what it
// was given, in order. The destructor (UI thread, at shutdown) waits for
// everything given so far to be destroyed.

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/Channel.h"

namespace orve::audio {

class Reaper {
 public:
  Reaper() = default;
  ~Reaper();
  Reaper(const Reaper&) = delete;
  Reaper& operator=(const Reaper&) = delete;

  // `channel` must be interrupted and out of the mixer's reach already.
  void Take(std::unique_ptr<Channel> channel);

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<std::unique_ptr<Channel>> queue_;  // guarded by mutex_
  bool quit_ = false;                            // guarded by mutex_
  std::thread thread_;                           // UI thread; started by the first Take
};

}  // namespace orve::audio
