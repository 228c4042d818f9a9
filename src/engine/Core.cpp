#include "engine/Core.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "audio/CodecLibraries.h"
#include "audio/Decoder.h"
#include "audio/MeasureFile.h"
#include "base/Rounding.h"
#include "engine/EntryKind.h"
#include "settings/ConfigKeys.h"
#include "settings/FileNames.h"
#include "settings/IniFile.h"

namespace orve {

TCore::TCore(QObject* parent) : QObject(parent) { bandPositions_.fill(kEqZeroPosition); }

TCore::~TCore() { Shutdown(); }

void TCore::Init(const QString& appDir) {
  appDir_ = appDir;
  IniFile config(appDir + QString::fromLatin1(config::kFileName));
  PlayState = kNothingLoaded;
  Paths.clear();
  Titles.clear();
  Durations.clear();
  Kinds.clear();
  library_ = std::make_unique<audio::Library>(audio::OutputChoice::Parse(std::getenv("ORVE_AUDIO_OUTPUT")));
  SetBufferMs(config.Read(config::core::kBuffer));
  library_->SetUserAgent(kUserAgent);
  SetProxy(config.Read(config::proxy::kOn), config.Read(config::proxy::kHttp));
}

void TCore::SetBufferMs(int ms) {
  if (library_) library_->SetBufferMs(ms);
}

void TCore::SetProxy(bool on, const QString& address) {
  if (!library_) return;
  library_->SetProxy(on ? address.left(kMaxProxyLength).toStdString() : std::string());
}

double TCore::CpuLoad() const { return library_ ? library_->CpuLoad() : 0.0; }

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
  for (const int32_t fx : EffectHandles) library_->RemoveEffect(Handle(), static_cast<audio::Library::FxHandle>(fx));
  library_->Free(Handle());
  const QString& kind = Kinds[i];
  // Kinds 1 to 3 are files, one decoder serves them all; a stream connects
  // on its own thread, so this never waits on the network.
  const std::string path = EncodeFileName(Paths[i]).toStdString();  // a file's name byte for byte
  const audio::Handle h =
      kind == QLatin1String(kKindStream) ? library_->OpenUrl(path) : library_->OpenFile(path);
  Channel = static_cast<int64_t>(h);
  BuildEqChain();
  PlayState = kOpened;
}

int TCore::BandGain(int k) const { return bandPositions_[static_cast<size_t>(k - 1)] - kEqZeroPosition; }

void TCore::BuildEqChain() {
  if (!library_) return;
  // All sixteen exist before any of them gets its parameters.
  for (int k = 1; k <= kEqBands; ++k) {
    EqBandHandles[k - 1] = static_cast<int32_t>(library_->AddEffect(Handle(), dsp::EffectType::kParamEq, 1));
  }
  EqParams.bandwidth = kEqBandwidth;
  for (int k = 1; k <= kEqBands; ++k) {
    EqParams.gain = static_cast<float>(BandGain(k));
    EqParams.center = EqBandTable[k - 1].centre;
    library_->SetEffectParameters(Handle(), static_cast<audio::Library::FxHandle>(EqBandHandles[k - 1]), EqParams);
  }
}

void TCore::SetBandPosition(int k, int position) {
  if (k < 1 || k > kEqBands) return;
  bandPositions_[static_cast<size_t>(k - 1)] = position;
  SetBandGain(k);
}

void TCore::SetBandGain(int k) {
  if (!library_ || k < 1 || k > kEqBands) return;
  const auto fx = static_cast<audio::Library::FxHandle>(EqBandHandles[k - 1]);
  dsp::EffectParams held;
  if (library_->GetEffectParameters(Handle(), fx, held)) {
    if (const auto* band = std::get_if<dsp::ParamEqParams>(&held)) EqParams = *band;
  }
  EqParams.gain = static_cast<float>(BandGain(k));
  library_->SetEffectParameters(Handle(), fx, EqParams);
}

void TCore::SwitchEffect(Effect e, bool on) {
  if (!library_) return;
  const auto i = static_cast<size_t>(e);
  const bool wasPlaying = PlayState == kPlaying;
  if (wasPlaying) Pause();
  if (on) {
    if (EffectHandles[i] == -1) {
      EffectHandles[i] = static_cast<int32_t>(library_->AddEffect(Handle(), LibraryTypeOf(e), 1));
    }
    IniFile config(appDir_ + QString::fromLatin1(config::kFileName));
    Records.Fill(e, config);
    SendEffectRecord(e);
  } else {
    library_->RemoveEffect(Handle(), static_cast<audio::Library::FxHandle>(EffectHandles[i]));
  }
  if (wasPlaying) Play();
  if (!on) EffectHandles[i] = -1;
}

void TCore::SendEffectRecord(Effect e) {
  const int32_t handle = EffectHandles[static_cast<size_t>(e)];
  if (!library_ || handle == -1) return;
  const auto fx = static_cast<audio::Library::FxHandle>(handle);
  library_->SetEffectParameters(Handle(), fx, Records.Of(e));
}

TCore::MeasuredEntry TCore::MeasureEntry(const QString& path, bool exactLength) {
  MeasuredEntry m;
  m.path = path;
  m.kind = EntryKindOf(path);
  if (m.kind.isEmpty() || m.kind == QLatin1String(kKindStream)) return m;
  const audio::FileMeasure file = audio::MeasureFile(
      EncodeFileName(path).toStdString(), exactLength ? INT64_MAX : audio::Decoder::kForegroundScanBytes);
  m.artist = QString::fromStdString(file.tags.artist);
  m.title = QString::fromStdString(file.tags.title);
  // A failed measurement gives a negative length: never let it into the
  // total or the time texts.
  m.seconds = static_cast<int32_t>(std::clamp<int64_t>(RoundHalfEven(file.seconds), 0, INT32_MAX));
  return m;
}

bool TCore::AppendEntry(const MeasuredEntry& m) {
  if (m.kind.isEmpty()) return false;
  const bool stream = m.kind == QLatin1String(kKindStream);
  Kinds.append(m.kind);
  Durations.append(QString::number(m.seconds));
  TotalSeconds = static_cast<int32_t>(std::min<int64_t>(int64_t{TotalSeconds} + m.seconds, INT32_MAX));
  if (!m.artist.isEmpty() || !m.title.isEmpty()) {
    Titles.append(m.artist + QStringLiteral(" - ") + m.title);
  } else if (stream) {
    Titles.append(m.path);  // as every other road titles a stream: its address, until it plays
  } else {
    // The file-name part, as the user reads it.
    QString name = DisplayFileName(m.path.mid(m.path.lastIndexOf(u'/') + 1));
    name.chop(4);  // "song.mp3" gives "song", "take.wave" gives "take."
    Titles.append(name);
  }
  Paths.append(m.path);
  if (Paths.size() == 1) CurrentIndex = 0;
  if (!stream && RegisterFile) RegisterFile(m);
  return true;
}

bool TCore::AddEntry(const QString& path) { return AppendEntry(MeasureEntry(path, false)); }

void TCore::AddStreamEntry(const QString& url, const QString& title) {
  Paths.append(url);
  Titles.append(title);
  Durations.append(QStringLiteral("0"));
  Kinds.append(QString::fromLatin1(kKindStream));
}

void TCore::RemoveEntry(int i) {
  if (i < 0 || i >= Paths.size()) return;
  TotalSeconds -= Durations[i].toInt();
  Paths.removeAt(i);
  Titles.removeAt(i);
  Durations.removeAt(i);
  Kinds.removeAt(i);
}

void TCore::ClearEntries() {
  Paths.clear();
  Titles.clear();
  Durations.clear();
  Kinds.clear();
  TotalSeconds = 0;
}

void TCore::ExchangeEntries(int a, int b) {
  const qsizetype n = Paths.size();
  if (a < 0 || b < 0 || a >= n || b >= n) return;
  Paths.swapItemsAt(a, b);
  Titles.swapItemsAt(a, b);
  Durations.swapItemsAt(a, b);
  Kinds.swapItemsAt(a, b);
}

void TCore::PreloadDecoders() { audio::PreloadCodecLibraries(); }

void TCore::FreeChannel() {
  if (library_) library_->Free(Handle());
  Channel = 0;
  PlayState = kNothingLoaded;
  emit TransportChanged(PlayState);
}

void TCore::ForgetCurrent() {
  PlayState = kNothingLoaded;
  CurrentIndex = -1;
  emit TransportChanged(PlayState);
}

bool TCore::CurrentIsStream() const {
  return CurrentIndex >= 0 && CurrentIndex < Kinds.size() && Kinds[CurrentIndex] == QLatin1String(kKindStream);
}

bool TCore::Ended() const {
  if (!library_) return false;
  const audio::Handle h = Handle();
  if (h == audio::kNoHandle) return true;
  const bool stopped = library_->IsActive(h) == audio::ActiveState::kStopped;
  if (CurrentIsStream()) return stopped && library_->StreamStatus(h).empty();
  const int64_t length = library_->Length(h);
  return stopped || (length >= 0 && library_->Position(h) >= length);
}

int32_t TCore::Position() const {
  if (PlayState == kNothingLoaded || !library_ || CurrentIsStream()) return 0;
  const audio::Handle h = Handle();
  return static_cast<int32_t>(RoundHalfEven(library_->BytesToSeconds(h, library_->Position(h))));
}

int32_t TCore::Length() const {
  if (PlayState == kNothingLoaded || !library_ || CurrentIsStream()) return 0;
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
