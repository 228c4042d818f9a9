#include "app/MprisPlayer.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <algorithm>
#include <cmath>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/SkipEntry.h"
#include "equalizer/EqualizerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "settings/FileNames.h"

namespace orve {
namespace {

constexpr double kMicroseconds = 1e6;

// A local file's address with its bytes as they are, so a name that is not
// UTF-8 is still the file's.
QString FileUrl(const QString& path) {
  return QString::fromLatin1("file://" + EncodeFileName(path).toPercentEncoding("/"));
}

}  // namespace

MprisPlayer::MprisPlayer(Application& app, QObject* parent) : QDBusAbstractAdaptor(parent), app_(app) {}

bool MprisPlayer::Loaded() const {
  const TCore& engine = *app_.State().Engine;
  return engine.PlayState != kNothingLoaded && engine.CurrentIndex >= 0 && engine.CurrentIndex < engine.Paths.size();
}

QString MprisPlayer::PlaybackStatus() const {
  switch (app_.State().Engine->PlayState) {
    case kPlaying: return QStringLiteral("Playing");
    case kPaused: return QStringLiteral("Paused");
    default: return QStringLiteral("Stopped");
  }
}

QString MprisPlayer::LoopStatus() const {
  switch (app_.State().RepeatMode) {
    case RepeatModes::All: return QStringLiteral("Playlist");
    case RepeatModes::Track: return QStringLiteral("Track");
    case RepeatModes::Off: break;
  }
  return QStringLiteral("None");
}

void MprisPlayer::SetLoopStatus(const QString& status) {
  RepeatModes mode;
  if (status == QLatin1String("None")) {
    mode = RepeatModes::Off;
  } else if (status == QLatin1String("Track")) {
    mode = RepeatModes::Track;
  } else if (status == QLatin1String("Playlist")) {
    mode = RepeatModes::All;
  } else {
    return;
  }
  app_.State().RepeatMode = mode;
  if (MainWindow* main = app_.Windows().main) main->ShowRepeatMode();
}

QDBusObjectPath MprisPlayer::TrackId() const {
  // Stream handles are never reused while the program runs.
  return QDBusObjectPath(QStringLiteral("/orve/track/%1").arg(app_.State().Engine->Channel));
}

qlonglong MprisPlayer::LengthUs() const {
  const TCore& engine = *app_.State().Engine;
  const audio::Library* library = engine.Library();
  if (!Loaded() || !library || engine.CurrentIsStream()) return 0;
  const double seconds = library->BytesToSeconds(engine.Handle(), library->Length(engine.Handle()));
  return seconds > 0 ? std::llround(seconds * kMicroseconds) : 0;
}

QVariantMap MprisPlayer::Metadata() const {
  if (!Loaded()) return {};
  const TCore& engine = *app_.State().Engine;
  const int i = engine.CurrentIndex;
  const QString& path = engine.Paths[i];
  const bool stream = engine.CurrentIsStream();
  QVariantMap metadata;
  metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackId()));
  // A file's tags; else the entry's title as the playlist shows it, which
  // for a station is the title it sends.
  audio::Tags tags;
  if (const audio::Library* library = engine.Library(); library && !stream) tags = library->GetTags(engine.Handle());
  const auto text = [](const std::string& s) { return QString::fromStdString(s).trimmed(); };
  const QString title = text(tags.title);
  metadata.insert(QStringLiteral("xesam:title"), !title.isEmpty() ? title : engine.Titles.value(i));
  if (const QString artist = text(tags.artist); !artist.isEmpty()) {
    metadata.insert(QStringLiteral("xesam:artist"), QStringList{artist});
  }
  if (const QString album = text(tags.album); !album.isEmpty()) metadata.insert(QStringLiteral("xesam:album"), album);
  if (const qlonglong length = LengthUs(); length > 0) metadata.insert(QStringLiteral("mpris:length"), length);
  metadata.insert(QStringLiteral("xesam:url"), stream ? path : FileUrl(path));
  return metadata;
}

double MprisPlayer::Volume() const {
  const EqualizerWindow* eq = app_.Windows().equalizer;
  return eq ? eq->Volume() / double(EqualizerWindow::kVolumeMax) : 0.0;
}

void MprisPlayer::SetVolume(double volume) {
  EqualizerWindow* eq = app_.Windows().equalizer;
  if (!eq || std::isnan(volume)) return;
  const int target = static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * EqualizerWindow::kVolumeMax));
  eq->StepVolume(target - eq->Volume());  // the volume slider's own step, heard at once
}

qlonglong MprisPlayer::Position() const {
  const TCore& engine = *app_.State().Engine;
  const audio::Library* library = engine.Library();
  if (!Loaded() || !library || engine.CurrentIsStream()) return 0;
  const double seconds = library->BytesToSeconds(engine.Handle(), library->Position(engine.Handle()));
  return seconds > 0 ? std::llround(seconds * kMicroseconds) : 0;
}

bool MprisPlayer::CanGoNext() const { return SkipTarget(app_.State(), +1) >= 0; }

bool MprisPlayer::CanGoPrevious() const { return SkipTarget(app_.State(), -1) >= 0; }

bool MprisPlayer::CanPlay() const { return !app_.State().Engine->Paths.isEmpty(); }

bool MprisPlayer::CanPause() const { return Loaded(); }

bool MprisPlayer::CanSeek() const { return LengthUs() > 0; }

void MprisPlayer::Next() { SkipEntry(app_, +1); }

void MprisPlayer::Previous() { SkipEntry(app_, -1); }

void MprisPlayer::Pause() {
  if (MainWindow* main = app_.Windows().main) main->Pause();
}

void MprisPlayer::PlayPause() {
  if (app_.State().Engine->PlayState == kPlaying) {
    Pause();
  } else {
    Play();
  }
}

void MprisPlayer::Stop() {
  if (MainWindow* main = app_.Windows().main) main->Stop();
}

void MprisPlayer::Play() {
  const TCore& engine = *app_.State().Engine;
  MainWindow* main = app_.Windows().main;
  PlaylistWindow* playlist = app_.Windows().playlist;
  if (!main || !playlist) return;
  if (Loaded()) {
    main->Play();
    return;
  }
  // Nothing loaded yet: the entry the playlist points at, else the selected row, else the first.
  if (engine.Paths.isEmpty()) return;
  int i = engine.CurrentIndex;
  if (i < 0 || i >= engine.Paths.size()) i = std::max(0, playlist->SelectedIndex());
  playlist->StartIndex(i);
}

void MprisPlayer::SeekToUs(qlonglong us) {
  MainWindow* main = app_.Windows().main;
  if (!main) return;
  main->SeekTo(static_cast<int>(std::llround(static_cast<double>(us) / kMicroseconds)));
  emit Seeked(Position());
}

void MprisPlayer::Seek(qlonglong Offset) {
  if (!CanSeek()) return;
  const qlonglong target = std::max<qlonglong>(0, Position() + Offset);
  // Beyond the end is the next entry's beginning.
  if (target > LengthUs()) {
    Next();
    return;
  }
  SeekToUs(target);
}

void MprisPlayer::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
  // A request meant for an entry that has gone by is dropped.
  if (!CanSeek() || TrackId != this->TrackId() || Position < 0 || Position > LengthUs()) return;
  SeekToUs(Position);
}

void MprisPlayer::OpenUri(const QString& Uri, const QDBusMessage& message) {
  PlaylistWindow* playlist = app_.Windows().playlist;
  // The schemes of SupportedUriSchemes; anything else would pass for a relative file name.
  const auto is = [&](const char* scheme) { return Uri.startsWith(QLatin1String(scheme), Qt::CaseInsensitive); };
  const bool known = is("file:") || is("http://") || is("https://");
  // Added and started as a name on the command line is.
  if (!playlist || !known || !playlist->AddArguments({CommandLineName(Uri.toUtf8())})) {
    message.setDelayedReply(true);  // the error below is the answer
    QDBusConnection::sessionBus().send(
        message.createErrorReply(QDBusError::NotSupported, QStringLiteral("Not a file or address the player takes: ") + Uri));
  }
}

}  // namespace orve
