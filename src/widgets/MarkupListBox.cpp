#include "widgets/MarkupListBox.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScrollBar>

#include "widgets/Painting.h"

namespace orve {

namespace {

constexpr int kLinesPerRow = 2;
constexpr int kRowPadding = 2;  // above and below the two lines
constexpr int kTextIndent = 4;
constexpr int kScrollBarWidth = 10;

}  // namespace

MarkupListBox::MarkupListBox(QWidget* parent) : QAbstractScrollArea(parent), rowPainter_(font()) {
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent, true);
  viewport()->setMouseTracking(false);
  UpdateGeometry();
  StyleScrollBar();
}

int MarkupListBox::AddItem(const QString& text) {
  InsertItem(Count(), text);
  return Count() - 1;
}

void MarkupListBox::InsertItem(int index, const QString& text) {
  if (index < 0 || index > Count()) return;
  items_.insert(index, text);
  rows_.emplace(rows_.begin() + index);
  ScheduleGeometry();
  if (itemIndex_ >= index) SelectionMoved(itemIndex_ + 1);
}

void MarkupListBox::SetItem(int index, const QString& text) {
  if (index < 0 || index >= Count()) return;
  items_[index] = text;
  rows_[size_t(index)].reset();
  viewport()->update();
}

void MarkupListBox::DeleteItem(int index) {
  if (index < 0 || index >= Count()) return;
  items_.removeAt(index);
  rows_.erase(rows_.begin() + index);
  UpdateGeometry();
  if (itemIndex_ == index)
    SelectionMoved(-1);
  else if (itemIndex_ > index)
    SelectionMoved(itemIndex_ - 1);
}

// The selection keeps its item (or loses it) while indices shift under it.
void MarkupListBox::SelectionMoved(int index) {
  itemIndex_ = index;
  emit currentChanged(index);
}

void MarkupListBox::ExchangeItems(int first, int second) {
  if (first < 0 || second < 0 || first >= Count() || second >= Count() || first == second) return;
  items_.swapItemsAt(first, second);
  std::swap(rows_[size_t(first)], rows_[size_t(second)]);
  viewport()->update();
}

void MarkupListBox::Clear() {
  items_.clear();
  rows_.clear();
  UpdateGeometry();
  if (itemIndex_ != -1) SelectionMoved(-1);
}

QString MarkupListBox::Item(int index) const {
  return index >= 0 && index < Count() ? items_[index] : QString();
}

void MarkupListBox::SetItemIndex(int index) {
  if (index < 0 || index >= Count()) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  viewport()->update();
  emit currentChanged(index);
}

int MarkupListBox::TopIndex() const { return verticalScrollBar()->value(); }

void MarkupListBox::SetTopIndex(int index) {
  if (geometryDue_) UpdateGeometry();  // the range must hold the rows just added
  verticalScrollBar()->setValue(index);
}

void MarkupListBox::MakeVisible(int index) {
  if (index < 0 || index >= Count()) return;
  const int rows = std::max(1, VisibleRowCount());
  if (index < TopIndex())
    SetTopIndex(index);
  else if (index >= TopIndex() + rows)
    SetTopIndex(index - rows + 1);
}

int MarkupListBox::VisibleRowCount() const { return viewport()->height() / rowHeight_; }

int MarkupListBox::ItemAtPos(const QPoint& pos) const {
  if (pos.x() < 0 || pos.x() >= viewport()->width() || pos.y() < 0 || pos.y() >= viewport()->height())
    return -1;
  const int row = TopIndex() + pos.y() / rowHeight_;
  return row < Count() ? row : -1;
}

QRect MarkupListBox::ItemRect(int index) const {
  return QRect(0, (index - TopIndex()) * rowHeight_, viewport()->width(), rowHeight_);
}

void MarkupListBox::SetBackgroundColour(const QColor& colour) {
  background_ = colour;
  StyleScrollBar();
  viewport()->update();
}

void MarkupListBox::SetTextColour(const QColor& colour) {
  text_ = colour;
  viewport()->update();
}

void MarkupListBox::SetSelectionStartColour(const QColor& colour) {
  selectionStart_ = colour;
  StyleScrollBar();
  viewport()->update();
}

void MarkupListBox::SetSelectionEndColour(const QColor& colour) {
  selectionEnd_ = colour;
  StyleScrollBar();
  viewport()->update();
}

void MarkupListBox::SetSelectionBorderColour(const QColor& colour) {
  selectionBorder_ = colour;
  StyleScrollBar();
  viewport()->update();
}

void MarkupListBox::SetSelectionTextColour(const QColor& colour) {
  selectionText_ = colour;
  viewport()->update();
}

const MarkupRow& MarkupListBox::Row(int index) const {
  auto& row = rows_[size_t(index)];
  if (!row) row = ParseMarkup(items_[index]);
  return *row;
}

void MarkupListBox::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), background_);
  const int height = viewport()->height();
  for (int i = TopIndex(); i < Count(); ++i) {
    const QRect rect = ItemRect(i);
    if (rect.top() >= height) break;
    const QRectF textBox = QRectF(rect).adjusted(kTextIndent, kRowPadding, -kTextIndent, -kRowPadding);
    if (i == itemIndex_) {
      PaintSelection(painter, rect);
      // A soft shadow keeps the text legible on the bright part of the bar.
      const QColor shadow = paint::WithAlpha(paint::Mix(selectionEnd_, Qt::black, 0.6), 170);
      rowPainter_.Paint(painter, Row(i), textBox.translated(0, 1), kLinesPerRow, shadow, shadow);
      rowPainter_.Paint(painter, Row(i), textBox, kLinesPerRow, text_, selectionText_);
    } else {
      rowPainter_.Paint(painter, Row(i), textBox, kLinesPerRow, text_, QColor());
    }
  }
}

// A glass bar from the start colour at the top to the end colour at the
// bottom. The start colour is laid over the end colour as a gloss that fades
// at the middle, so a pale start colour never washes out the title line
// written over it.
void MarkupListBox::PaintSelection(QPainter& painter, const QRect& rect) const {
  QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
  gradient.setColorAt(0, paint::Mix(selectionEnd_, selectionStart_, 0.42));
  gradient.setColorAt(0.5, paint::Mix(selectionEnd_, selectionStart_, 0.16));
  gradient.setColorAt(0.52, selectionEnd_);
  gradient.setColorAt(1, paint::Mix(selectionEnd_, selectionStart_, 0.12));
  painter.fillRect(rect, gradient);
  paint::FillFrame(painter, rect, 1, selectionBorder_);
}

void MarkupListBox::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateGeometry();
}

void MarkupListBox::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    rowPainter_.SetFont(font());
    UpdateGeometry();
  }
  QAbstractScrollArea::changeEvent(event);
}

// Rows added in a row (a large playlist) set the scroll range once, when the
// event loop next runs: each change of the range lays the scroll area out
// again, which cost more than the rows themselves.
void MarkupListBox::ScheduleGeometry() {
  viewport()->update();
  if (geometryDue_) return;
  geometryDue_ = true;
  QMetaObject::invokeMethod(
      this, [this] { if (geometryDue_) UpdateGeometry(); }, Qt::QueuedConnection);
}

void MarkupListBox::UpdateGeometry() {
  geometryDue_ = false;
  rowHeight_ = std::max(1, int(rowPainter_.LineHeight()) * kLinesPerRow + 2 * kRowPadding);
  QScrollBar* bar = verticalScrollBar();
  const int rows = std::max(1, VisibleRowCount());
  bar->setRange(0, std::max(0, Count() - VisibleRowCount()));
  bar->setPageStep(rows);
  bar->setSingleStep(1);
  viewport()->update();
}

void MarkupListBox::StyleScrollBar() {
  const QColor track = paint::Mix(background_, selectionEnd_, 0.25);
  const QColor handle = selectionEnd_;
  const QColor handleTop = paint::Mix(selectionEnd_, selectionStart_, 0.45);
  verticalScrollBar()->setStyleSheet(
      QStringLiteral("QScrollBar:vertical { background: %1; width: %2px; margin: 0; border: none; }"
                     "QScrollBar::handle:vertical { min-height: 16px; border: 1px solid %3; border-radius: 3px;"
                     " background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 %4, stop:1 %5); }"
                     "QScrollBar::handle:vertical:hover { border-color: %6; }"
                     "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; border: none; }"
                     "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }")
          .arg(track.name())
          .arg(kScrollBarWidth)
          .arg(paint::Mix(handle, Qt::black, 0.35).name(), handleTop.name(), handle.name(),
               selectionBorder_.name()));
}

void MarkupListBox::scrollContentsBy(int, int) { viewport()->update(); }

void MarkupListBox::keyPressEvent(QKeyEvent* event) {
  event->ignore();
  emit keyPressed(event);
  if (event->isAccepted()) return;
  if (event->modifiers() & ~Qt::KeypadModifier || !MoveSelectionByKey(event->key())) {
    event->ignore();
    return;
  }
  event->accept();
}

// The list's own navigation; false for keys it does not move by.
bool MarkupListBox::MoveSelectionByKey(int key) {
  if (Count() == 0) return false;
  const int last = Count() - 1;
  const int page = std::max(1, VisibleRowCount() - 1);
  const int from = itemIndex_;
  int to = from;
  switch (key) {
    case Qt::Key_Up: to = from < 0 ? 0 : std::max(0, from - 1); break;
    case Qt::Key_Down: to = std::min(last, from + 1); break;
    case Qt::Key_Home: to = 0; break;
    case Qt::Key_End: to = last; break;
    case Qt::Key_PageUp: to = std::max(0, from - page); break;
    case Qt::Key_PageDown: to = std::min(last, std::max(0, from) + page); break;
    default: return false;
  }
  SetItemIndex(to);
  MakeVisible(to);
  return true;
}

void MarkupListBox::mousePressEvent(QMouseEvent* event) {
  const int row = ItemAtPos(event->position().toPoint());
  if (event->button() == Qt::LeftButton) {
    leftDown_ = true;
    if (row >= 0) SetItemIndex(row);
  }
  emit mousePressed(event, row);
}

void MarkupListBox::mouseMoveEvent(QMouseEvent* event) {
  const int row = ItemAtPos(event->position().toPoint());
  if (leftDown_ && (event->buttons() & Qt::LeftButton) && row >= 0) SetItemIndex(row);
  emit mouseMoved(event, row);
}

void MarkupListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) leftDown_ = false;
  emit mouseReleased(event, ItemAtPos(event->position().toPoint()));
}

// The second press of a double click is still a press (it selects, and the
// window sees it), then the double click itself is reported.
void MarkupListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  mousePressEvent(event);
  emit doubleClicked(ItemAtPos(event->position().toPoint()));
}

}  // namespace orve
