#include "audio/dsp/Diffuser.h"

#include "audio/dsp/DspMath.h"

namespace orve::dsp {
namespace {
constexpr double kStageMs[Diffuser::kStages] = {4.76, 3.58, 12.73, 9.30};
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
