#include "app/StartEntry.h"

#include <cmath>

#include "app/Application.h"
#include "app/TrayIcon.h"
#include "app/Unit1.h"
#include "base/Rounding.h"
#include "engine/StreamTitle.h"
#include "engine/TimeText.h"
#include "equalizer/Unit6.h"
#include "playlist/ItemMarkup.h"
#include "playlist/Unit2.h"
#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"
#include "widgets/SkinColours.h"

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

void StartEntry(TApplication& app) {
  AppState& state = app.State();
  TCore& engine = *state.Engine;
  TForm2* playlist = app.Playlist();
  TForm1* main = app.MainWindow();
  TForm6* eq = app.Equalizer();
  if (!playlist || !main || !eq) return;
  const int i = playlist->ListBox1->ItemIndex();
  if (i == -1) return;
  const auto& colours = state.Scheme.ThemeColors;
  if (engine.CurrentIndex != -1) {
    playlist->ListBox1->SetItem(engine.CurrentIndex, ItemMarkup(engine, engine.CurrentIndex, state.Scheme.ItemColorText));
  }
  main->RzTrackBar1->setMinimum(0);
  engine.CurrentIndex = i;
  engine.Stop();
  engine.OpenEntry(i);
  engine.SetAttributes(static_cast<quint8>(eq->TrackBar1->value()), eq->RzTrackBar170->value());
  engine.Play();
  const bool stream = engine.CurrentIsStream();
  if (stream) {
    // The connection is made on the stream's own thread, so the station has
    // usually sent nothing yet: its entry keeps its address or name until
    // the first metadata arrives.
    const QString metadata = Metadata(engine);
    state.NowArtist = CutStreamTitle(metadata);
    if (!metadata.isEmpty() || !state.NowTitle.isEmpty()) {
      engine.Titles[i] = !state.NowTitle.isEmpty() ? state.NowTitle : state.NowArtist;
    }
  }
  playlist->ListBox1->SetItem(i, ItemMarkup(engine, i, state.Scheme.CurrentColorText));
  playlist->ListBox1->SetItemIndex(i);
  playlist->ListBox1->SetSelectionTextColor(ToQColor(colours[1]));
  SetTextColour(main->Label2, ToQColor(colours[1]));
  main->Label2->setText(QStringLiteral("0:00/") + TimeText(EntrySeconds(engine, i)));
  main->RzTrackBar1->setMaximum(std::max(0, engine.Length()));
  if (TrayIcon* tray = app.Tray()) {
    tray->ShowBalloon(QStringLiteral("Play"), engine.Titles[i], kBalloonMs);
    tray->SetToolTip(QStringLiteral("Play: ") + engine.Titles[i]);
  }
  playlist->RefreshTimeText();
  // A file that does not open says so where its bit rate would stand.
  const bool failed = engine.Handle() == audio::kNoHandle;
  main->Label9->setText(stream ? QString() : failed ? QStringLiteral("Ошибка") : BitRateText(engine));
  engine.EffectHandles.fill(-1);
  eq->RunEffectSwitches();
  state.TitleScrollPos = 0;
}

void CassetteResume(TApplication& app) {
  AppState& state = app.State();
  TForm1* main = app.MainWindow();
  TForm2* playlist = app.Playlist();
  if (!main || !playlist) return;
  IniFile config(state.AppDir + QString::fromLatin1(config::kFileName));
  if (!config.Read(config::cm::kOn)) return;
  playlist->ListBox1->SetItemIndex(config.Read(config::cm::kIndex));  // -1 or beyond the list: none
  StartEntry(app);
  state.Engine->Pause();
  main->RzTrackBar1->setValue(config.Read(config::cm::kPosition));
  main->SeekReleased();
  state.Engine->Play();
}

void StreamTitleRefresh(TApplication& app) {
  AppState& state = app.State();
  TCore& engine = *state.Engine;
  TForm2* playlist = app.Playlist();
  if (!playlist || engine.PlayState != kPlaying || !engine.CurrentIsStream()) return;
  const int i = engine.CurrentIndex;
  const QString metadata = Metadata(engine);
  // A station that sends no metadata keeps the title its entry has.
  if (metadata.isEmpty()) return;
  state.NowArtist = CutStreamTitle(metadata);
  engine.Titles[i] = state.NowArtist;
  const QString item = ItemMarkup(engine, i, state.Scheme.CurrentColorText);
  if (playlist->ListBox1->Item(i) != item) playlist->ListBox1->SetItem(i, item);
}

}  // namespace orve
