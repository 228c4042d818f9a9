// The playlist window's commands: the rows, adding, removing, deleting,
// the playlist files, and the start-up loader.
#include <unistd.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>

#include "engine/EntryKind.h"
#include "playlist/ItemMarkup.h"
#include "playlist/PlaylistFiles.h"
#include "playlist/PlaylistWindow.h"
#include "session/AppState.h"
#include "settings/FileNames.h"
#include "settings/LineFile.h"
#include "widgets/MarkupListBox.h"
#include "widgets/SkinColours.h"

namespace orve {
namespace {

// Names from a dialog or a drop stand for bytes Qt could not decode with
// U+FFFD: each is taken back to the file it means. A name with a line
// break would be two lines of the playlist file: it goes to `refused`.
QList<EntryAdder::Item> FileItems(const QStringList& paths, QStringList& refused) {
  QList<EntryAdder::Item> items;
  items.reserve(paths.size());
  for (const QString& p : paths) {
    if (p.contains(u'\n') || p.contains(u'\r')) {
      refused << p;
    } else {
      items.append({ResolveFileName(p), false});
    }
  }
  return items;
}

QString RefusedNamesMessage(const QStringList& refused) {
  constexpr qsizetype kListed = 10;
  QString message = QStringLiteral("Имя файла содержит перевод строки, такие файлы не добавлены в плейлист:");
  for (qsizetype i = 0; i < std::min(refused.size(), kListed); ++i) {
    QString shown = refused[i];
    shown.replace(u'\r', u'↵').replace(u'\n', u'↵');
    message += QStringLiteral("\n") + shown;
  }
  if (refused.size() > kListed) message += QStringLiteral("\n… и ещё %1").arg(refused.size() - kListed);
  return message;
}

}  // namespace

void PlaylistWindow::AppendItem() {
  const int last = static_cast<int>(engine_.Paths.size()) - 1;
  entryList_->AddItem(ItemMarkup(engine_, last, state_.Scheme.ItemColorText));
  RefreshTimeText();
  PlaylistChanged();
}

int PlaylistWindow::SelectedIndex() const { return entryList_->ItemIndex(); }

void PlaylistWindow::SelectIndex(int i) {
  entryList_->SetItemIndex(i);
  entryList_->MakeVisible(i);  // the program's choice is shown, wherever the list stood
}

QString PlaylistWindow::RowText(int i) const { return entryList_->Item(i); }

void PlaylistWindow::ShowRow(int i, bool current) {
  const ColourScheme& scheme = state_.Scheme;
  const QString row = ItemMarkup(engine_, i, current ? scheme.CurrentColorText : scheme.ItemColorText);
  if (entryList_->Item(i) != row) entryList_->SetItem(i, row);
}

void PlaylistWindow::MarkCurrent(int i) {
  ShowRow(i, true);
  SelectIndex(i);
  entryList_->SetSelectionTextColour(state_.Scheme.Colour(ColourRole::Highlight));
}

bool PlaylistWindow::Consistent() const {
  const qsizetype n = engine_.Paths.size();
  if (engine_.Titles.size() != n || engine_.Durations.size() != n || engine_.Kinds.size() != n ||
      entryList_->Count() != n) {
    return false;
  }
  int64_t total = 0;
  for (const QString& d : engine_.Durations) total += d.toInt();
  return total == engine_.TotalSeconds && engine_.CurrentIndex >= -1 && engine_.CurrentIndex < n;
}

void PlaylistWindow::PlaylistChanged() {
  Q_ASSERT_X(Consistent(), "PlaylistWindow", "the playlist's lists and rows are out of step");
  saveTimer_->start();  // Default.pld follows shortly, so a crash loses nothing
}

void PlaylistWindow::SelectionColour(int index) {
  const bool current = index != -1 && index == engine_.CurrentIndex;
  entryList_->SetSelectionTextColour(state_.Scheme.Colour(current ? ColourRole::Highlight : ColourRole::ListText));
}

void PlaylistWindow::SelectionColour() { SelectionColour(entryList_->ItemIndex()); }

void PlaylistWindow::RefreshTimeText() { timeLabel_->setText(PlaylistTimeText(engine_, entryList_->ItemIndex())); }

// --- adding ---

void PlaylistWindow::AddFiles(const QStringList& paths, std::function<void()> finished) {
  // What the user adds is likely played soon: the decoders load meanwhile.
  engine_.PreloadDecoders();
  QStringList refused;
  adder_.Add(FileItems(paths, refused), std::move(finished));
  if (!refused.isEmpty()) emit AddRefused(RefusedNamesMessage(refused));
}

void PlaylistWindow::AddDroppedFiles(const QStringList& names) {
  QStringList accepted;
  for (const QString& name : names) {
    if (IsAcceptedForDrop(name) && !IsFolder(name)) accepted << name;
  }
  AddFiles(accepted);
}

void PlaylistWindow::AddStream(const QString& url, const QString& title) {
  engine_.AddStreamEntry(url, title);
  AppendItem();
}

void PlaylistWindow::AppendFile(const QString& path, bool start) {
  if (!engine_.AddEntry(path)) return;
  AppendItem();
  if (start) StartIndex(entryList_->Count() - 1);
}

void PlaylistWindow::AppendedByAdder() {
  AppendItem();
  if (!startOnAppend_) return;
  startOnAppend_ = false;
  // From the event loop: a start that fails shows a box, and the adder's
  // drain must not run again inside its loop.
  QTimer::singleShot(0, this, [this, i = entryList_->Count() - 1] {
    if (i < entryList_->Count()) StartIndex(i);
  });
}

bool PlaylistWindow::Adding() const { return adder_.Busy(); }

bool PlaylistWindow::AddArguments(const QStringList& arguments) {
  QStringList accepted;
  for (const QString& a : arguments) {
    if (EntryKindOf(a) == QLatin1String(kKindStream)) {
      accepted << a;
    } else if (IsAcceptedForDrop(a) && !IsFolder(a)) {
      // A shell hands relative names over; Default.pld must find them from any folder.
      accepted << AbsoluteFileName(a);
    }
  }
  if (accepted.isEmpty()) return false;
  // The first of them plays as soon as it is in, not after the last one.
  startOnAppend_ = true;
  AddFiles(accepted, [this] { startOnAppend_ = false; });
  return true;
}

void PlaylistWindow::StartupLoader(const QStringList& arguments, std::function<void()> cassetteResume) {
  // Arguments of which none could be added start the program as without
  // any: the saved playlist comes back instead of being replaced by nothing.
  if (AddArguments(arguments)) return;
  bool exists = true;
  QStringList lines;
  try {
    lines = ReadPathLines(state_.AppDir + QString::fromLatin1(kDefaultPlaylistName), &exists);
  } catch (...) {
    playlistReadable_ = false;  // never replace a playlist that could not be read
    throw;
  }
  adder_.Add(DefaultPlaylistItems(lines), std::move(cassetteResume));
}

// --- commands ---

void PlaylistWindow::StartIndex(int i) {
  failedStarts_ = 0;  // a start by the user begins a new round
  SelectIndex(i);
  emit StartEntryRequested();
}

void PlaylistWindow::StartSelected() {
  if (entryList_->ItemIndex() == -1) return;
  failedStarts_ = 0;
  emit StartEntryRequested();
}

void PlaylistWindow::ClearNowPlaying() {
  state_.NowArtist.clear();
  state_.NowTitle.clear();
  emit NowPlayingCleared();
}

void PlaylistWindow::RemoveSelected() {
  const int s = entryList_->ItemIndex();
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
    engine_.ForgetCurrent();
    ClearNowPlaying();
  }
  engine_.RemoveEntry(s);
  entryList_->DeleteItem(s);
  if (entryList_->Count() > 0) SelectIndex(std::min(s, entryList_->Count() - 1));
  SelectionColour();
  RefreshTimeText();
  PlaylistChanged();
}

void PlaylistWindow::ClearPlaylist() {
  if (adder_.Busy()) {
    adder_.Cancel();  // "all" includes what is still being added
    ReportAddProgress(0, 0);  // a cancelled add reports nothing more: the titles come back here
  }
  engine_.Stop();
  engine_.ForgetCurrent();
  engine_.ClearEntries();
  entryList_->Clear();
  ClearNowPlaying();
  RefreshTimeText();
  PlaylistChanged();
}

void PlaylistWindow::DeleteFromDisk() {
  const int s = entryList_->ItemIndex();
  if (s == -1) return;
  const QString path = engine_.Paths[s];
  const bool stream = engine_.Kinds[s] == QLatin1String(kKindStream);
  // The file must not be held open while it goes.
  if (s == engine_.CurrentIndex) engine_.FreeChannel();
  RemoveSelected();
  if (!stream) MoveFileToTrash(path);  // an address names no file
}

// Into the desktop's trash, so a slip of the hand can be undone. Where
// there is none, the file goes for good only when the user says so. A
// failed deletion is not reported.
void PlaylistWindow::MoveFileToTrash(const QString& path) {
  // Qt 6.4 puts the trash into the working folder when the user's data
  // folder does not exist yet.
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  const bool trash = !data.isEmpty() && QDir().mkpath(data);
  // Qt cannot name a file whose name is not UTF-8: no trash for it.
  if ((trash && QtCanName(path) && QFile::moveToTrash(path)) || !IsRegularFile(path)) return;
  const QString question =
      QStringLiteral("Корзина недоступна. Удалить файл безвозвратно?\n%1").arg(DisplayFileName(path));
  if (QMessageBox::question(this, windowTitle(), question) == QMessageBox::Yes) {
    ::unlink(EncodeFileName(path).constData());
  }
}

void PlaylistWindow::LoadPlaylistFile(const QString& fileName) { AddFiles(M3uPaths(ReadPathLines(fileName))); }

void PlaylistWindow::SavePlaylistFile(const QString& fileName) { WritePathLines(fileName, M3uLines(engine_.Paths)); }

void PlaylistWindow::SavePlaylist() {
  saveTimer_->stop();
  if (!playlistReadable_) return;
  WritePathLines(state_.AppDir + QString::fromLatin1(kDefaultPlaylistName), engine_.Paths + adder_.PendingPaths());
}

void PlaylistWindow::ReportAddProgress(int done, int total) {
  addDone_ = done;
  addTotal_ = total;
  RefreshTitleCaption();
  emit AddProgress(done, total);
}

}  // namespace orve
