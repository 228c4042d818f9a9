#include "audio/Reaper.h"

namespace orve::audio {

Reaper::~Reaper() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void Reaper::Take(std::unique_ptr<Channel> channel) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(channel));
  }
  if (!thread_.joinable()) thread_ = std::thread(&Reaper::Run, this);
  wake_.notify_one();
}

void Reaper::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
    if (queue_.empty()) return;  // quit_ and nothing left
    std::vector<std::unique_ptr<Channel>> batch;
    batch.swap(queue_);
    lock.unlock();
    batch.clear();  // joins each channel's thread
    lock.lock();
  }
}

}  // namespace orve::audio
