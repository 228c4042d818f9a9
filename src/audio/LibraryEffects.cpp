// Effects on a channel: the library's face of EffectsChain.
#include "audio/AudioLibrary.h"
#include "audio/Channel.h"
#include "audio/LibraryImpl.h"

namespace orve::audio {

Library::FxHandle Library::AddEffect(Handle h, dsp::EffectType type, int priority) {
  Channel* channel = impl_->ChannelOf(h);
  if (channel == nullptr) return 0;
  std::unique_ptr<dsp::DspBlock> block = dsp::CreateEffect(static_cast<int>(type));
  if (!block) return 0;
  block->Prepare(channel->Rate());  // sizes its memory here, never on the audio thread
  const FxHandle fx = impl_->nextEffect++;
  return channel->Effects().Add(fx, std::move(block), priority) ? fx : 0;
}

bool Library::RemoveEffect(Handle h, FxHandle fx) {
  Channel* channel = impl_->ChannelOf(h);
  return channel != nullptr && channel->Effects().Remove(fx);
}

bool Library::SetEffectParameters(Handle h, FxHandle fx, const dsp::EffectParams& params) {
  Channel* channel = impl_->ChannelOf(h);
  dsp::DspBlock* block = channel != nullptr ? channel->Effects().Find(fx) : nullptr;
  return block != nullptr && block->SetParams(params);
}

bool Library::GetEffectParameters(Handle h, FxHandle fx, dsp::EffectParams& params) const {
  Channel* channel = impl_->ChannelOf(h);
  dsp::DspBlock* block = channel != nullptr ? channel->Effects().Find(fx) : nullptr;
  if (block == nullptr) return false;
  params = block->GetParams();
  return true;
}

}  // namespace orve::audio
