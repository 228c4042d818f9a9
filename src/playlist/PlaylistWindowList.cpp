// The playlist list's keys and mouse (selection, dragging, context menu),
// and the 50 ms tick: the time displays and what happens at the end of an
// entry.
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "playlist/ItemMarkup.h"
#include "playlist/PlaylistWindow.h"
#include "session/AppState.h"
#include "widgets/MarkupListBox.h"

namespace orve {
namespace {

bool IsNavigationKey(int key) {
  return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Home || key == Qt::Key_End;
}

// A letter key by its place on the keyboard, in either case: `russian` is
// what the same key gives in the Russian layout.
bool IsLetterKey(const QKeyEvent& e, Qt::Key latin, QStringView russian) {
  return e.key() == latin || e.text().compare(russian, Qt::CaseInsensitive) == 0;
}

}  // namespace

void PlaylistWindow::OnListKey(QKeyEvent* event) {
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const int key = event->key();
  const int selected = entryList_->ItemIndex();
  const int last = entryList_->Count() - 1;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    StartSelected();
  } else if (key == Qt::Key_Delete) {
    shift ? DeleteFromDisk() : RemoveSelected();
  } else if (IsLetterKey(*event, Qt::Key_J, u"о")) {
    emit SearchRequested();
  } else if (IsLetterKey(*event, Qt::Key_B, u"и")) {
    emit MusicBaseRequested();
  } else if (IsLetterKey(*event, Qt::Key_I, u"ш")) {
    emit RadioBaseRequested();
  } else if (IsNavigationKey(key) && !shift && selected != -1) {
    // The colour is set for the row the list is about to select.
    int target = selected;
    if (key == Qt::Key_Up) target = std::max(0, selected - 1);
    if (key == Qt::Key_Down) target = std::min(last, selected + 1);
    if (key == Qt::Key_Home) target = 0;
    if (key == Qt::Key_End) target = last;
    SelectionColour(target);
  }
  RefreshTimeText();
  // Only the four keys move the list; every other key stops here (no paging).
  if (!IsNavigationKey(key) || shift) event->accept();
}

void PlaylistWindow::OnListPress(QMouseEvent* event, int row) {
  if (event->button() == Qt::RightButton) entryList_->SetItemIndex(row);  // -1 clears
  RefreshTimeText();
  SelectionColour();
  dragRow_ = row == -1 ? 0 : row;
}

void PlaylistWindow::OnListDrag(QMouseEvent* event, int row) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const int c = row == -1 ? 0 : row;  // below the last entry counts as entry 0
  if (c == dragRow_ || dragRow_ >= entryList_->Count() || c >= entryList_->Count()) return;
  ExchangeEntries(dragRow_, c);
  int& current = engine_.CurrentIndex;
  if (dragRow_ == current) {
    current = c;
  } else if (current != -1) {
    // The current entry is known by its colour: look around where it was.
    const QString mark = CurrentItemPrefix(state_.Scheme.CurrentColorText);
    for (const int k : {current - 1, current, current + 1}) {
      if (k >= 0 && k < entryList_->Count() && entryList_->Item(k).startsWith(mark)) {
        current = k;
        break;
      }
    }
  }
  dragRow_ = c;
}

void PlaylistWindow::ExchangeEntries(int a, int b) {
  engine_.ExchangeEntries(a, b);
  entryList_->ExchangeItems(a, b);
  PlaylistChanged();
}

void PlaylistWindow::OnListRelease(QMouseEvent* event, int /*row*/) {
  RefreshTimeText();
  if (event->button() == Qt::RightButton && entryList_->ItemIndex() != -1) {
    PrepareContextMenu();
    contextMenu_->popup(event->globalPosition().toPoint());
  }
}

void PlaylistWindow::PrepareContextMenu() {
  const int s = entryList_->ItemIndex();
  const bool stream = s >= 0 && s < engine_.Kinds.size() && engine_.Kinds[s] == QLatin1String(kKindStream);
  convertMenu_->menuAction()->setEnabled(!conversionBusy_ && !stream);
}

// --- the tick ---

void PlaylistWindow::Tick() {
  emit TimeDisplaysDue();
  // Whole seconds would end an entry up to half a second early: the end is
  // the channel's last sample.
  if (engine_.PlayState == kPlaying && engine_.Ended()) EntryEnded();
  RefreshTimeText();
}

void PlaylistWindow::Advance(int i) {
  SelectIndex(i);
  emit StartEntryRequested();
}

bool PlaylistWindow::CurrentFailedToOpen() const { return engine_.Handle() == audio::kNoHandle; }

void PlaylistWindow::EntryEnded() {
  // An entry that does not open "ends" at once. Restarting it, or going
  // round a list where nothing opens, would reopen files twenty times a
  // second for ever: those cases stop instead.
  const bool broken = CurrentFailedToOpen();
  failedStarts_ = broken ? failedStarts_ + 1 : 0;
  switch (state_.RepeatMode) {
    case RepeatModes::Off:
      engine_.Stop();
      break;
    case RepeatModes::Track:
      if (broken) {
        engine_.Stop();
      } else {
        Advance(engine_.CurrentIndex);
      }
      break;
    case RepeatModes::All: {
      const int count = entryList_->Count();
      if (count == 0) break;
      if (failedStarts_ >= count) {
        engine_.Stop();
        break;
      }
      Advance(engine_.CurrentIndex + 1 > count - 1 ? 0 : engine_.CurrentIndex + 1);
      break;
    }
  }
  if (engine_.PlayState != kPlaying) failedStarts_ = 0;
}

}  // namespace orve
