// The playlist list's keys and mouse (selection, dragging, context menu),
// and Timer1: the time displays and what happens at the end of an entry.
#include <QKeyEvent>
#include <QMouseEvent>

#include "app/AppState.h"
#include "playlist/ItemMarkup.h"
#include "playlist/Unit2.h"

namespace orve {
namespace {

bool IsNavigationKey(int key) {
  return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Home || key == Qt::Key_End;
}

// J by its place on the keyboard: in the Russian layout the same key gives "о".
bool IsSearchKey(const QKeyEvent& e) {
  return e.key() == Qt::Key_J || e.text() == QStringLiteral("о") || e.text() == QStringLiteral("О");
}

}  // namespace

void TForm2::ListBox1KeyDown(QKeyEvent* event) {
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const int key = event->key();
  const int selected = ListBox1->ItemIndex();
  const int last = ListBox1->Count() - 1;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    ListBox1DblClick();
  } else if (key == Qt::Key_Delete) {
    shift ? DeleteFromDisk() : RemoveSelected();
  } else if (IsSearchKey(*event)) {
    emit SearchRequested();
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

void TForm2::ListBox1MouseDown(QMouseEvent* event, int row) {
  if (event->button() == Qt::RightButton) ListBox1->SetItemIndex(row);  // -1 clears
  RefreshTimeText();
  SelectionColour();
  DragIndex = row == -1 ? 0 : row;
}

void TForm2::ListBox1MouseMove(QMouseEvent* event, int row) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const int c = row == -1 ? 0 : row;  // below the last entry counts as entry 0
  if (c == DragIndex || DragIndex >= ListBox1->Count() || c >= ListBox1->Count()) return;
  ExchangeEntries(DragIndex, c);
  int& current = engine_.CurrentIndex;
  if (DragIndex == current) {
    current = c;
  } else if (current != -1) {
    // The current entry is known by its colour: look around where it was.
    const QString mark = CurrentItemPrefix(state_.Scheme.CurrentColorText);
    for (const int k : {current - 1, current, current + 1}) {
      if (k >= 0 && k < ListBox1->Count() && ListBox1->Item(k).startsWith(mark)) {
        current = k;
        break;
      }
    }
  }
  DragIndex = c;
}

void TForm2::ExchangeEntries(int a, int b) {
  engine_.ExchangeEntries(a, b);
  ListBox1->ExchangeItems(a, b);
  PlaylistChanged();
}

void TForm2::ListBox1MouseUp(QMouseEvent* event, int /*row*/) {
  RefreshTimeText();
  if (event->button() == Qt::RightButton && ListBox1->ItemIndex() != -1) {
    PrepareContextMenu();
    AdvPopupMenu4->popup(event->globalPosition().toPoint());
  }
}

void TForm2::PrepareContextMenu() {
  const int s = ListBox1->ItemIndex();
  const bool stream = s >= 0 && s < engine_.Kinds.size() && engine_.Kinds[s] == QLatin1String(kKindStream);
  N3->menuAction()->setEnabled(!ConversionBusy && !stream);
}

// --- Timer1 ---

void TForm2::Timer1Timer() {
  emit TimeDisplaysDue();
  if (engine_.PlayState == kPlaying && !engine_.CurrentIsStream() && engine_.Position() == engine_.Length()) {
    EntryEnded();
  }
  RefreshTimeText();
}

void TForm2::Advance(int i) {
  ListBox1->SetItemIndex(i);
  emit StartEntryRequested();
}

bool TForm2::CurrentFailedToOpen() const { return engine_.Handle() == audio::kNoHandle; }

void TForm2::EntryEnded() {
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
      const int count = ListBox1->Count();
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
