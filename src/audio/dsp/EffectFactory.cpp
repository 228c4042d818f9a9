#include "audio/dsp/Chorus.h"
#include "audio/dsp/Compressor.h"
#include "audio/dsp/DspBlock.h"
#include "audio/dsp/Echo.h"
#include "audio/dsp/Flanger.h"
#include "audio/dsp/Gargle.h"
#include "audio/dsp/I3dl2Reverb.h"
#include "audio/dsp/MusicReverb.h"
#include "audio/dsp/ParamEq.h"

namespace orve::dsp {

std::unique_ptr<DspBlock> CreateEffect(int type) {
  switch (static_cast<EffectType>(type)) {
    case EffectType::kChorus: return std::make_unique<Chorus>();
    case EffectType::kCompressor: return std::make_unique<Compressor>();
    case EffectType::kEcho: return std::make_unique<Echo>();
    case EffectType::kFlanger: return std::make_unique<Flanger>();
    case EffectType::kGargle: return std::make_unique<Gargle>();
    case EffectType::kI3dl2Reverb: return std::make_unique<I3dl2Reverb>();
    case EffectType::kParamEq: return std::make_unique<ParamEq>();
    case EffectType::kMusicReverb: return std::make_unique<MusicReverb>();
  }
  return nullptr;
}

}  // namespace orve::dsp
