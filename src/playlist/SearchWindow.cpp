#include "playlist/SearchWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "session/AppState.h"
#include "playlist/TitleFilter.h"
#include "widgets/SkinColours.h"
#include "widgets/SkinnedWindow.h"

namespace orve {

SearchWindow::SearchWindow(AppState& state, QWidget* parent) : QWidget(parent, Qt::Tool), state_(state) {
  setObjectName(QStringLiteral("searchWindow"));
  setWindowTitle(QStringLiteral("Поиск"));
  setAttribute(Qt::WA_QuitOnClose, false);
  searchEdit_ = new QLineEdit(this);
  resultList_ = new QListWidget(this);
  resultList_->setSelectionMode(QAbstractItemView::SingleSelection);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  layout->addWidget(searchEdit_);
  layout->addWidget(resultList_, 1);
  resize(kWidth, kHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  // Double-clicks land on the viewport, also where there is no row.
  resultList_->viewport()->installEventFilter(this);
  resultList_->installEventFilter(this);
  connect(searchEdit_, &QLineEdit::textChanged, this, &SearchWindow::ShowMatches);
  CloseOnEscape(this);
  ApplyScheme();
}

void SearchWindow::Open() {
  {
    // Emptying the text would run the filter step; the full list follows anyway.
    const QSignalBlocker quiet(searchEdit_);
    searchEdit_->clear();
  }
  ShowRows(FilterTitles(state_.Engine->Titles, QString()));
  setWindowModality(Qt::ApplicationModal);
  searchEdit_->setFocus();
  show();
  activateWindow();
}

void SearchWindow::ShowMatches(const QString& text) { ShowRows(FilterTitles(state_.Engine->Titles, text)); }

void SearchWindow::ShowRows(const QList<int>& indices) {
  const QStringList& titles = state_.Engine->Titles;
  resultList_->clear();
  QStringList rows;
  rows.reserve(indices.size());
  for (int i : indices) rows.append(titles[i]);
  resultEntries_ = indices;
  resultList_->addItems(rows);
}

int SearchWindow::SelectedRow() const {
  const QModelIndexList selected = resultList_->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.first().row();
}

void SearchWindow::Choose() {
  const int row = SelectedRow();
  if (row >= 0 && row < resultEntries_.size()) {
    emit EntryChosen(resultEntries_[row]);
    close();
  }
  emit ChooseFinished();
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == resultList_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    // The row under the pointer is the one meant (the first click has
    // usually selected it already); off the rows the selection stands.
    const QModelIndex at = resultList_->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (at.isValid()) resultList_->setCurrentIndex(at);
    Choose();
    return true;
  }
  if (watched == resultList_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Choose();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void SearchWindow::changeEvent(QEvent* event) {
  // Each activation hands the keyboard to the search text.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) searchEdit_->setFocus();
  QWidget::changeEvent(event);
}

void SearchWindow::ApplyScheme() {
  const ColourScheme& s = state_.Scheme;
  SetBackground(this, s.Colour(ColourRole::Window));
  for (QWidget* field : {static_cast<QWidget*>(searchEdit_), static_cast<QWidget*>(resultList_)}) {
    SetFieldColours(field, s.Colour(ColourRole::Highlight), s.Colour(ColourRole::Panel));
  }
}

}  // namespace orve
