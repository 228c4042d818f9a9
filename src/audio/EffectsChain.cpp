#include "audio/EffectsChain.h"

#include <algorithm>

namespace orve::audio {

EffectsChain::EffectsChain() { Publish(); }

EffectsChain::~EffectsChain() = default;

bool EffectsChain::Add(uint32_t id, std::unique_ptr<dsp::DspBlock> block, int priority) {
  if (id == 0 || !block || static_cast<int>(entries_.size()) >= kMaxEffects) return false;
  // After every entry of equal or higher priority: creation order within a priority.
  auto pos = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.priority < priority; });
  entries_.insert(pos, Entry{id, priority, std::shared_ptr<dsp::DspBlock>(std::move(block))});
  Publish();
  return true;
}

bool EffectsChain::Remove(uint32_t id) {
  const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; });
  if (it == entries_.end()) return false;
  entries_.erase(it);
  Publish();
  return true;
}

dsp::DspBlock* EffectsChain::Find(uint32_t id) const {
  for (const Entry& e : entries_) {
    if (e.id == id) return e.block.get();
  }
  return nullptr;
}

void EffectsChain::Publish() {
  auto next = std::make_unique<Snapshot>();
  for (const Entry& e : entries_) {
    next->blocks[static_cast<size_t>(next->count++)] = e.block.get();
    next->keep.push_back(e.block);
  }
  current_.store(next.get(), std::memory_order_seq_cst);
  if (published_) retired_.push_back(std::move(published_));
  published_ = std::move(next);
  Collect();
}

void EffectsChain::Collect() {
  // The audio thread re-checks current_ after announcing a snapshot, so one
  // that is neither current nor announced is never touched again.
  const Snapshot* used = inUse_.load(std::memory_order_seq_cst);
  std::erase_if(retired_, [&](const std::unique_ptr<Snapshot>& s) { return s.get() != used; });
}

const EffectsChain::Snapshot* EffectsChain::Enter() {
  const Snapshot* s = current_.load(std::memory_order_seq_cst);
  for (;;) {
    inUse_.store(s, std::memory_order_seq_cst);
    const Snapshot* again = current_.load(std::memory_order_seq_cst);
    if (again == s) return s;
    s = again;
  }
}

void EffectsChain::Process(float* stereo, int frames) {
  const Snapshot* s = Enter();
  if (s != nullptr && frames > 0) {
    for (int i = 0; i < s->count; ++i) s->blocks[static_cast<size_t>(i)]->Process(stereo, frames);
  }
  inUse_.store(nullptr, std::memory_order_release);
}

void EffectsChain::ResetAll() {
  const Snapshot* s = Enter();
  if (s != nullptr) {
    for (int i = 0; i < s->count; ++i) s->blocks[static_cast<size_t>(i)]->Reset();
  }
  inUse_.store(nullptr, std::memory_order_release);
}

}  // namespace orve::audio
