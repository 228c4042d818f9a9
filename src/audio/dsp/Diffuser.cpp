#include "audio/dsp/Diffuser.h"

#include "audio/dsp/DspMath.h"

namespace orve::dsp {
namespace {
// Short stages: an all-pass rings for about 14 times its delay at g = 0.618,
// and that ringing must stay well inside the shortest decay (0.1 s with a
// 0.1 HF ratio).
constexpr double kStageMs[Diffuser::kStages] = {1.3, 1.9, 2.7, 3.7};
}

void Diffuser::Allocate(int sampleRate) {
  for (int i = 0; i < kStages; ++i) {
    delay_[i] = MsToFrames(kStageMs[i], sampleRate);
    line_[i].Allocate(delay_[i]);
  }
}

void Diffuser::Clear() {
  for (DelayLine& l : line_) l.Clear();
}

}  // namespace orve::dsp
