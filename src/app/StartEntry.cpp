#include "app/StartEntry.h"

#include <cmath>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/NowPlayingWindow.h"
#include "app/TrayIcon.h"
#include "base/Rounding.h"
#include "engine/StreamTitle.h"
#include "equalizer/EqualizerWindow.h"
#include "playlist/ItemMarkup.h"
#include "playlist/PlaylistWindow.h"
#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"

namespace orve {
namespace {

constexpr int kBalloonMs = 3000;  // the balloon is hidden after 3 s

QString Metadata(const TCore& engine) {
  return engine.Library() ? QString::fromStdString(engine.Library()->GetMetadata(engine.Handle())) : QString();
}

// Kilobits per second from the file size over the length; empty when the
// entry did not open or has no length.
QString BitRateText(const TCore& engine) {
  const audio::Library* library = engine.Library();
  if (!library) return {};
  const audio::Handle h = engine.Handle();
  const double size = static_cast<double>(library->FileSize(h));
  const double seconds = library->BytesToSeconds(h, library->Length(h));
  if (size < 0 || !(seconds > 0)) return {};
  return QString::number(RoundHalfEven(size / (seconds * 125))) + QStringLiteral(" КБит/с");
}

}  // namespace

void StartEntry(Application& app) {
  AppState& state = app.State();
  TCore& engine = *state.Engine;
  const WindowSet& windows = app.Windows();
  PlaylistWindow* playlist = windows.playlist;
  MainWindow* main = windows.main;
  EqualizerWindow* eq = windows.equalizer;
  if (!playlist || !main || !eq) return;
  const int i = playlist->SelectedIndex();
  if (i == -1) return;
  if (engine.CurrentIndex != -1) playlist->ShowRow(engine.CurrentIndex, false);
  engine.CurrentIndex = i;
  engine.Stop();
  engine.OpenEntry(i);
  engine.SetAttributes(eq->Volume(), eq->SampleRate());
  engine.Play();
  const bool stream = engine.CurrentIsStream();
  if (stream) {
    // The connection is made on the stream's own thread, so the station has
    // usually sent nothing yet: its entry keeps its address or name until
    // the first metadata arrives.
    const QString title = CutStreamTitle(Metadata(engine));
    if (!title.isEmpty()) {
      state.NowArtist = title;
      if (windows.nowPlaying) windows.nowPlaying->ShowMiddleLine(title);
    }
    if (!state.NowTitle.isEmpty() || !title.isEmpty()) {
      engine.Titles[i] = !state.NowTitle.isEmpty() ? state.NowTitle : title;
    }
  }
  playlist->MarkCurrent(i);
  main->ShowStartTime(EntrySeconds(engine, i));
  main->SetSeekRange(std::max(0, engine.Length()));
  if (TrayIcon* tray = windows.tray) {
    tray->ShowBalloon(QStringLiteral("Play"), engine.Titles[i], kBalloonMs);
    tray->SetToolTip(QStringLiteral("Play: ") + engine.Titles[i]);
  }
  playlist->RefreshTimeText();
  // A file that does not open says so where its bit rate would stand.
  const bool failed = engine.Handle() == audio::kNoHandle;
  main->ShowBitRate(stream ? QString() : failed ? QStringLiteral("Ошибка") : BitRateText(engine));
  engine.EffectHandles.fill(-1);
  eq->RunEffectSwitches();
  state.TitleScrollPos = 0;
}

void CassetteResume(Application& app) {
  AppState& state = app.State();
  MainWindow* main = app.Windows().main;
  PlaylistWindow* playlist = app.Windows().playlist;
  if (!main || !playlist) return;
  IniFile config(state.AppDir + QString::fromLatin1(config::kFileName));
  if (!config.Read(config::cm::kOn)) return;
  playlist->SelectIndex(config.Read(config::cm::kIndex));  // -1 or beyond the list: none
  StartEntry(app);
  state.Engine->Pause();
  main->SeekTo(config.Read(config::cm::kPosition));
  state.Engine->Play();
}

void StreamTitleRefresh(Application& app) {
  AppState& state = app.State();
  TCore& engine = *state.Engine;
  PlaylistWindow* playlist = app.Windows().playlist;
  if (!playlist || engine.PlayState != kPlaying || !engine.CurrentIsStream()) return;
  // A station that sends no title, or an empty one, keeps the title its
  // entry has (its address or name before any).
  const QString title = CutStreamTitle(Metadata(engine));
  if (title.isEmpty()) return;
  state.NowArtist = title;
  if (NowPlayingWindow* nowPlaying = app.Windows().nowPlaying) nowPlaying->ShowMiddleLine(title);
  engine.Titles[engine.CurrentIndex] = title;
  playlist->ShowRow(engine.CurrentIndex, true);
}

}  // namespace orve
