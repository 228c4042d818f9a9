#include "audio/NullSink.h"

#include <chrono>
#include <vector>

namespace orve::audio {
namespace {

// After a longer stall (a suspended machine) the clock starts afresh
// instead of rushing to catch up.
constexpr auto kMaxLag = std::chrono::seconds(1);

}  // namespace

NullSink::~NullSink() { Stop(); }

bool NullSink::Open(std::string&) { return true; }

bool NullSink::Start(RenderSource* source, std::string&) {
  if (running_.exchange(true)) return true;
  clock_ = std::thread(&NullSink::Run, this, source);
  return true;
}

void NullSink::Stop() {
  running_.store(false, std::memory_order_release);
  if (clock_.joinable()) clock_.join();
}

void NullSink::Delivered(const float*, int) {}

void NullSink::Run(RenderSource* source) {
  using Clock = std::chrono::steady_clock;
  const auto period = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(static_cast<double>(kBlock) / kRate));
  std::vector<float> block(2 * kBlock);
  auto due = Clock::now();
  while (running_.load(std::memory_order_acquire)) {
    source->Render(block.data(), kBlock);
    Delivered(block.data(), kBlock);
    due += period;
    const auto now = Clock::now();
    if (now - due > kMaxLag) due = now;
    std::this_thread::sleep_until(due);
  }
}

}  // namespace orve::audio
