// The playlist window's commands: the rows, adding, removing, deleting,
// the playlist files, and the start-up loader.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>

#include "app/AppState.h"
#include "engine/EntryKind.h"
#include "playlist/ItemMarkup.h"
#include "playlist/PlaylistFiles.h"
#include "playlist/Unit2.h"
#include "settings/LineFile.h"

namespace orve {
namespace {

QList<EntryAdder::Item> FileItems(const QStringList& paths) {
  QList<EntryAdder::Item> items;
  items.reserve(paths.size());
  for (const QString& p : paths) items.append({p, false});
  return items;
}

bool IsFolder(const QString& name) { return QFileInfo(name).isDir(); }

}  // namespace

QStringList TForm2::DroppedNames(const QMimeData& data) {
  QStringList names;
  for (const QUrl& url : data.urls()) {
    if (url.isLocalFile()) names << url.toLocalFile();
  }
  return names;
}

void TForm2::AppendItem() {
  const int last = static_cast<int>(engine_.Paths.size()) - 1;
  ListBox1->AddItem(ItemMarkup(engine_, last, state_.Scheme.ItemColorText));
  RefreshTimeText();
  PlaylistChanged();
}

bool TForm2::Consistent() const {
  const qsizetype n = engine_.Paths.size();
  if (engine_.Titles.size() != n || engine_.Durations.size() != n || engine_.Kinds.size() != n ||
      ListBox1->Count() != n) {
    return false;
  }
  int64_t total = 0;
  for (const QString& d : engine_.Durations) total += d.toInt();
  return total == engine_.TotalSeconds && engine_.CurrentIndex >= -1 && engine_.CurrentIndex < n;
}

void TForm2::PlaylistChanged() {
  Q_ASSERT_X(Consistent(), "TForm2", "the playlist's lists and rows are out of step");
  saveTimer_->start();  // Default.pld follows shortly, so a crash loses nothing
}

void TForm2::SelectionColour(int index) {
  const bool current = index != -1 && index == engine_.CurrentIndex;
  ListBox1->SetSelectionTextColor(ToQColor(state_.Scheme.ThemeColors[current ? 1 : 13]));
}

void TForm2::RefreshTimeText() { Label2->setText(PlaylistTimeText(engine_, ListBox1->ItemIndex())); }

// --- adding ---

void TForm2::AddFiles(const QStringList& paths, std::function<void()> finished) {
  adder_.Add(FileItems(paths), std::move(finished));
}

void TForm2::AddDroppedFiles(const QStringList& names) {
  QStringList accepted;
  for (const QString& name : names) {
    if (IsAcceptedForDrop(name) && !IsFolder(name)) accepted << name;
  }
  AddFiles(accepted);
}

void TForm2::AddStream(const QString& url) {
  engine_.AddStreamEntry(url, url);
  AppendItem();
}

bool TForm2::Adding() const { return adder_.Busy(); }

void TForm2::StartupLoader(const QStringList& arguments, std::function<void()> cassetteResume) {
  if (!arguments.isEmpty()) {
    QStringList accepted;
    for (const QString& a : arguments) {
      if (EntryKindOf(a) == QLatin1String(kKindStream)) {
        accepted << a;
      } else if (IsAcceptedForDrop(a) && !IsFolder(a)) {
        // A shell hands relative names over; Default.pld must find them from any folder.
        accepted << QFileInfo(a).absoluteFilePath();
      }
    }
    AddFiles(accepted, [this] { StartIndex(0); });
    return;
  }
  bool exists = true;
  QStringList lines;
  try {
    lines = ReadLineFile(state_.AppDir + QString::fromLatin1(kDefaultPlaylistName), &exists);
  } catch (...) {
    playlistReadable_ = false;  // never replace a playlist that could not be read
    throw;
  }
  adder_.Add(DefaultPlaylistItems(lines), std::move(cassetteResume));
}

// --- commands ---

void TForm2::StartIndex(int i) {
  failedStarts_ = 0;  // a start by the user begins a new round
  ListBox1->SetItemIndex(i);
  emit StartEntryRequested();
}

void TForm2::ListBox1DblClick() {
  if (ListBox1->ItemIndex() == -1) return;
  failedStarts_ = 0;
  emit StartEntryRequested();
}

void TForm2::ClearNowPlaying() {
  state_.NowArtist.clear();
  state_.NowTitle.clear();
  emit NowPlayingCleared();
}

void TForm2::RemoveSelected() {
  const int s = ListBox1->ItemIndex();
  if (s == -1) {
    RefreshTimeText();
    return;
  }
  if (s == engine_.CurrentIndex) {
    engine_.Stop();
    ClearNowPlaying();
  }
  if (engine_.CurrentIndex > 0 && engine_.CurrentIndex >= s) --engine_.CurrentIndex;
  if (engine_.Paths.size() == 1) {
    engine_.PlayState = kNothingLoaded;
    engine_.CurrentIndex = -1;
    ClearNowPlaying();
  }
  engine_.RemoveEntry(s);
  ListBox1->DeleteItem(s);
  if (ListBox1->Count() > 0) ListBox1->SetItemIndex(std::min(s, ListBox1->Count() - 1));
  SelectionColour();
  RefreshTimeText();
  PlaylistChanged();
}

void TForm2::ClearPlaylist() {
  if (adder_.Busy()) {
    adder_.Cancel();  // "all" includes what is still being added
    ReportAddProgress(0, 0);  // a cancelled add reports nothing more: the titles come back here
  }
  engine_.Stop();
  engine_.PlayState = kNothingLoaded;
  engine_.CurrentIndex = -1;
  engine_.ClearEntries();
  ListBox1->Clear();
  ClearNowPlaying();
  RefreshTimeText();
  PlaylistChanged();
}

void TForm2::DeleteFromDisk() {
  const int s = ListBox1->ItemIndex();
  if (s == -1) return;
  const QString path = engine_.Paths[s];
  const bool stream = engine_.Kinds[s] == QLatin1String(kKindStream);
  if (s == engine_.CurrentIndex) {
    engine_.FreeChannel();  // the file must not be held open while it goes
    RemoveSelected();
    engine_.PlayState = kNothingLoaded;
  } else {
    RemoveSelected();
  }
  // An address names no file; a failed deletion is not reported.
  if (!stream) QFile::remove(path);
}

void TForm2::LoadPlaylistFile(const QString& fileName) { AddFiles(M3uPaths(ReadLineFile(fileName))); }

void TForm2::SavePlaylistFile(const QString& fileName) { WriteLineFile(fileName, M3uLines(engine_.Paths)); }

void TForm2::SavePlaylist() {
  saveTimer_->stop();
  if (!playlistReadable_) return;
  WriteLineFile(state_.AppDir + QString::fromLatin1(kDefaultPlaylistName), engine_.Paths + adder_.PendingPaths());
}

void TForm2::ReportAddProgress(int done, int total) {
  LayList->setText(done < total ? QStringLiteral("Добавление %1 из %2").arg(done).arg(total)
                                : QStringLiteral("Плэйлист"));
  emit AddProgress(done, total);
}

}  // namespace orve
