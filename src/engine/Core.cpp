#include "engine/Core.h"

#include <cstdlib>

#include "base/Rounding.h"
#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"

namespace orve {

TCore::TCore(QObject* parent) : QObject(parent) {}

TCore::~TCore() { Shutdown(); }

void TCore::Init(const QString& appDir) {
  IniFile config(appDir + QString::fromLatin1(config::kFileName));
  PlayState = kNothingLoaded;
  Paths.clear();
  Titles.clear();
  Durations.clear();
  Kinds.clear();
  library_ = std::make_unique<audio::Library>(audio::OutputChoice::Parse(std::getenv("ORVE_AUDIO_OUTPUT")));
  library_->SetBufferMs(config.Read(config::core::kBuffer));
  library_->SetUserAgent(kUserAgent);
  QString proxy;
  if (config.Read(config::proxy::kOn)) proxy = config.Read(config::proxy::kHttp).left(kMaxProxyLength);
  library_->SetProxy(proxy.toStdString());
}

void TCore::Shutdown() {
  Paths.clear();
  Titles.clear();
  Durations.clear();
  Kinds.clear();
  library_.reset();
  Channel = 0;
  PlayState = kNothingLoaded;
}

void TCore::OpenEntry(int i) {
  if (!library_ || i < 0 || i >= Paths.size() || i >= Kinds.size()) return;
  library_->Free(Handle());
  const QString& kind = Kinds[i];
  // Kinds 1 to 3 are files; one decoder serves them all.
  const audio::Handle h =
      kind == QLatin1String(kKindStream) ? audio::kNoHandle : library_->OpenFile(Paths[i].toStdString());
  Channel = static_cast<int64_t>(h);
  openKind_ = kind;
  PlayState = kOpened;
}

int32_t TCore::Position() const {
  if (PlayState == kNothingLoaded || !library_ || openKind_ == QLatin1String(kKindStream)) return 0;
  const audio::Handle h = Handle();
  return static_cast<int32_t>(RoundHalfEven(library_->BytesToSeconds(h, library_->Position(h))));
}

int32_t TCore::Length() const {
  if (PlayState == kNothingLoaded || !library_ || openKind_ == QLatin1String(kKindStream)) return 0;
  const audio::Handle h = Handle();
  return static_cast<int32_t>(RoundHalfEven(library_->BytesToSeconds(h, library_->Length(h))));
}

void TCore::Seek(uint32_t seconds) {
  if (!library_) return;
  const audio::Handle h = Handle();
  library_->SetPosition(h, library_->SecondsToBytes(h, static_cast<float>(seconds)));
}

void TCore::SetAttributes(quint8 volume, int32_t frequency) {
  if (PlayState == kNothingLoaded || !library_) return;
  library_->SetAttributes(Handle(), frequency, volume);
}

void TCore::Play() {
  if (PlayState == kNothingLoaded || !library_) return;
  const audio::Handle h = Handle();
  library_->Play(h);
  const audio::Tags tags = library_->GetTags(h);
  emit NowPlayingChanged(QString::fromStdString(tags.artist), QString::fromStdString(tags.title));
  PlayState = kPlaying;
  emit TransportChanged(PlayState);
}

void TCore::Pause() {
  if (PlayState != kPlaying || !library_) return;
  library_->Pause(Handle());
  PlayState = kPaused;
  emit TransportChanged(PlayState);
}

void TCore::Stop() {
  if (PlayState == kNothingLoaded || !library_) return;
  const audio::Handle h = Handle();
  library_->Stop(h);
  library_->SetPosition(h, 0);
  PlayState = kStopped;
  emit TransportChanged(PlayState);
}

}  // namespace orve
