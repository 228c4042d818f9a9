#pragma once
// When to try a dropped stream again: after 1 s, then 2 s, 4 s, ... up to
// 30 s between attempts, back to 1 s once audio flows again.
// Owned by one thread (the stream's).

#include <algorithm>
#include <chrono>

namespace orve::audio {

class Reconnect {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kFirstPause = std::chrono::seconds(1);
  static constexpr Clock::duration kLongestPause = std::chrono::seconds(30);

  // The connection dropped or an attempt failed at `now`: the next attempt
  // waits the current pause, and the pause after it doubles.
  void Failed(Clock::time_point now) {
    due_ = now + pause_;
    pause_ = std::min(pause_ * 2, kLongestPause);
  }
  // Audio arrived: the next drop starts the sequence again.
  void Succeeded() {
    pause_ = kFirstPause;
    due_ = Clock::time_point{};
  }
  bool Due(Clock::time_point now) const { return now >= due_; }
  Clock::time_point DueAt() const { return due_; }

 private:
  Clock::duration pause_ = kFirstPause;
  Clock::time_point due_{};
};

}  // namespace orve::audio
