#include "playlist/Unit14.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "playlist/TitleFilter.h"
#include "widgets/SkinColours.h"

namespace orve {
namespace {

// Text and field colours of an edit or a list (their Text and Base roles).
void SetFieldColours(QWidget* widget, const QColor& text, const QColor& base) {
  QPalette p = widget->palette();
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Base, base);
  widget->setPalette(p);
}

}  // namespace

TForm14::TForm14(AppState& state, QWidget* parent) : QWidget(parent, Qt::Tool), state_(state) {
  setObjectName(QStringLiteral("Form14"));
  setWindowTitle(QStringLiteral("Поиск"));
  setAttribute(Qt::WA_QuitOnClose, false);
  Edit1 = new QLineEdit(this);
  ListBox1 = new QListWidget(this);
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  layout->addWidget(Edit1);
  layout->addWidget(ListBox1, 1);
  resize(kWidth, kHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  // Double-clicks land on the viewport, also where there is no row.
  ListBox1->viewport()->installEventFilter(this);
  ListBox1->installEventFilter(this);
  connect(Edit1, &QLineEdit::textChanged, this, &TForm14::Edit1Change);
  ApplyScheme();
}

void TForm14::OpenSearch() {
  {
    // Emptying the text would run the filter step; the full list follows anyway.
    const QSignalBlocker quiet(Edit1);
    Edit1->clear();
  }
  ShowRows(FilterTitles(state_.Engine->Titles, QString()));
  setWindowModality(Qt::ApplicationModal);
  Edit1->setFocus();
  show();
  activateWindow();
}

void TForm14::Edit1Change(const QString& text) { ShowRows(FilterTitles(state_.Engine->Titles, text)); }

void TForm14::ShowRows(const QList<int>& indices) {
  const QStringList& titles = state_.Engine->Titles;
  ListBox1->clear();
  IndexMap.clear();
  QStringList rows;
  rows.reserve(indices.size());
  IndexMap.reserve(indices.size());
  for (int i : indices) {
    rows.append(titles[i]);
    IndexMap.append(QString::number(i));
  }
  ListBox1->addItems(rows);
}

int TForm14::SelectedRow() const {
  const QModelIndexList selected = ListBox1->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.first().row();
}

void TForm14::Choose() {
  const int row = SelectedRow();
  if (row >= 0 && row < IndexMap.size()) {
    emit EntryChosen(IndexMap[row].toInt());
    close();
  }
  emit ChooseFinished();
}

bool TForm14::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListBox1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    // The row under the pointer is the one meant (the first click has
    // usually selected it already); off the rows the selection stands.
    const QModelIndex at = ListBox1->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (at.isValid()) ListBox1->setCurrentIndex(at);
    Choose();
    return true;
  }
  if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Choose();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TForm14::changeEvent(QEvent* event) {
  // Each activation hands the keyboard to the search text.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) Edit1->setFocus();
  QWidget::changeEvent(event);
}

QColor TForm14::Colour(int index) const { return ToQColor(state_.Scheme.ThemeColors[static_cast<size_t>(index)]); }

void TForm14::ApplyScheme() {
  SetBackground(this, Colour(5));
  SetFieldColours(Edit1, Colour(1), Colour(0));
  SetFieldColours(ListBox1, Colour(1), Colour(0));
}

}  // namespace orve
