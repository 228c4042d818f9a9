// Library: the channel operations and the data of the sound heard now.
#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/AudioLibrary.h"
#include "audio/LibraryImpl.h"

namespace orve::audio {
namespace {

constexpr int kMinFrequency = 100;
constexpr int kMaxFrequency = 1'000'000;
constexpr int kWaveFrames = 512;

// The sound heard now. A paused or stopped channel keeps its last sound;
// one that plays but gets nothing (a stream run dry) is silent.
bool SoundNow(const Channel& ch, uint64_t heard, float* stereo, int frames) {
  const ActiveState state = ch.State(heard);
  const bool silenceAfter = state != ActiveState::kPaused && state != ActiveState::kStopped;
  return ch.History().FramesEndingAt(heard, stereo, frames, silenceAfter);
}

// A file with lying sizes can claim more frames than bytes can count.
int64_t FramesToBytes(int64_t frames, int bytesPerFrame) {
  int64_t bytes = 0;
  if (__builtin_mul_overflow(frames, int64_t{bytesPerFrame}, &bytes)) return INT64_MAX / bytesPerFrame * bytesPerFrame;
  return bytes;
}

}  // namespace

bool Library::Play(Handle h) {
  impl_->CollectRetired();
  Channel* ch = impl_->ChannelOf(h);
  if (ch == nullptr || !impl_->mixer->Add(ch)) return false;
  ch->Play();
  return true;
}

bool Library::Pause(Handle h) {
  Channel* ch = impl_->ChannelOf(h);
  if (ch == nullptr) return false;
  ch->Pause();
  return true;
}

bool Library::Stop(Handle h) {
  Channel* ch = impl_->ChannelOf(h);
  if (ch == nullptr) return false;
  ch->Stop();
  return true;
}

ActiveState Library::IsActive(Handle h) const {
  const Stream* s = impl_->Find(h);
  if (s == nullptr) return ActiveState::kStopped;
  if (s->decoder != nullptr) return s->decoder->Ended() ? ActiveState::kStopped : ActiveState::kPlaying;
  s->channel->CollectRetired();
  return s->channel->State(impl_->mixer->HeardFrame());
}

int64_t Library::Position(Handle h) const {
  const Stream* s = impl_->Find(h);
  if (s == nullptr) return -1;
  if (s->net != nullptr) return 0;  // a live stream has no place to show
  const int64_t frames = s->decoder != nullptr ? s->decoder->Position()
                                               : s->channel->Position(impl_->mixer->HeardFrame());
  return FramesToBytes(frames, s->BytesPerFrame());
}

int64_t Library::Length(Handle h) const {
  const Stream* s = impl_->Find(h);
  if (s == nullptr) return -1;
  if (s->net != nullptr) return 0;
  const int64_t frames = s->decoder != nullptr ? s->decoder->LengthFrames() : s->channel->Length();
  return frames < 0 ? -1 : FramesToBytes(frames, s->BytesPerFrame());
}

bool Library::SetPosition(Handle h, int64_t bytes) {
  Stream* s = impl_->Find(h);
  if (s == nullptr || bytes < 0) return false;
  const int64_t frame = bytes / s->BytesPerFrame();
  const int64_t length = Length(h) / s->BytesPerFrame();
  if (length >= 0 && frame > length) return false;
  if (s->decoder != nullptr) return s->decoder->Seek(frame);
  s->channel->Seek(frame);
  return true;
}

double Library::BytesToSeconds(Handle h, int64_t bytes) const {
  const Stream* s = impl_->Find(h);
  if (s == nullptr || bytes < 0) return -1.0;
  return static_cast<double>(bytes / s->BytesPerFrame()) / s->rate;
}

int64_t Library::SecondsToBytes(Handle h, double seconds) const {
  const Stream* s = impl_->Find(h);
  if (s == nullptr || !(seconds >= 0.0)) return -1;
  return static_cast<int64_t>(std::floor(seconds * s->rate)) * s->BytesPerFrame();
}

// A rate slider can stop anywhere from 0 up: rates below what makes sense
// play at the lowest one instead of being refused with the volume.
bool Library::SetAttributes(Handle h, int frequency, int volume) {
  Channel* ch = impl_->ChannelOf(h);
  if (ch == nullptr || volume < 0 || volume > 100 || frequency < 0) return false;
  if (frequency != 0) frequency = std::clamp(frequency, kMinFrequency, kMaxFrequency);
  if (frequency != ch->Frequency() && !ch->SetFrequency(frequency)) return false;
  ch->SetVolume(volume);
  return true;
}

bool Library::GetAttributes(Handle h, int& frequency, int& volume) const {
  const Channel* ch = impl_->ChannelOf(h);
  if (ch == nullptr) return false;
  frequency = ch->Frequency() == 0 ? ch->Rate() : ch->Frequency();
  volume = ch->Volume();
  return true;
}


int Library::GetFft(Handle h, float* out, int fftSize) const {
  const Channel* ch = impl_->ChannelOf(h);
  if (ch == nullptr || out == nullptr || (fftSize != 512 && fftSize != 1024)) return -1;
  std::vector<float> frames(2 * static_cast<size_t>(fftSize));
  if (!SoundNow(*ch, impl_->mixer->HeardFrame(), frames.data(), fftSize)) return -1;
  return impl_->spectrum.Compute(frames.data(), fftSize, out);
}

int Library::GetWave(Handle h, int16_t* out) const {
  const Channel* ch = impl_->ChannelOf(h);
  if (ch == nullptr || out == nullptr) return -1;
  std::vector<float> frames(2 * kWaveFrames);
  if (!SoundNow(*ch, impl_->mixer->HeardFrame(), frames.data(), kWaveFrames)) return -1;
  for (size_t i = 0; i < frames.size(); ++i) {
    out[i] = static_cast<int16_t>(std::clamp(std::lrint(frames[i] * 32768.0f), -32768L, 32767L));
  }
  return static_cast<int>(frames.size() * sizeof(int16_t));
}

int Library::ReadDecoded(Handle h, void* buffer, int bytes) {
  Stream* s = impl_->Find(h);
  if (s == nullptr || s->decoder == nullptr || buffer == nullptr || bytes < 0) return -1;
  const int frames = s->decoder->Read(buffer, bytes / s->BytesPerFrame());
  return FramesToBytes(frames, s->BytesPerFrame());
}

}  // namespace orve::audio
