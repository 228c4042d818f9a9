#pragma once
// A single-selection list whose items are texts of the playlist markup
// (see MarkupText.h), each drawn as two lines. Items are addressed by index
// like a classic list box; ItemIndex is the selection (-1 for none) and
// TopIndex the first visible row. Only the visible rows are painted and each
// row is parsed once and kept until its text changes, so long lists scroll
// smoothly.
//
// Input: a left press selects the row under the pointer and, while the
// button is held, the selection follows the pointer from row to row (the
// drag-reordering code of a window relies on that). Right presses do not
// select. Up, Down, Home, End, Page Up and Page Down move the selection,
// unless a slot of keyPressed() accepts the event first. Every press, move
// and release is reported with the row under the pointer (-1 when none).

#include <QAbstractScrollArea>
#include <QColor>
#include <QStringList>
#include <optional>
#include <vector>

#include "widgets/MarkupRowPainter.h"
#include "widgets/MarkupText.h"

class QMouseEvent;

namespace orve {

class MarkupListBox : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit MarkupListBox(QWidget* parent = nullptr);

  // Items. Indices out of range are ignored by the changing calls; Item()
  // gives an empty text for them. Insertions and deletions keep the
  // selection on the same item; deleting the selected item clears it.
  int AddItem(const QString& text);
  void InsertItem(int index, const QString& text);
  void SetItem(int index, const QString& text);
  void DeleteItem(int index);
  void ExchangeItems(int first, int second);  // the selection stays at its index
  void Clear();
  int Count() const { return int(items_.size()); }
  QString Item(int index) const;

  // Selection; an index out of range clears it. currentChanged() follows
  // every change of ItemIndex: by the program, by the user, and by an
  // insertion or deletion that shifts the selected item.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);

  // Scrolling by whole rows.
  int TopIndex() const;
  void SetTopIndex(int index);
  void MakeVisible(int index);
  int RowHeight() const { return rowHeight_; }
  int VisibleRowCount() const;  // rows that fit wholly

  // Row under a point of the viewport, -1 when none; and a row's rectangle
  // in viewport coordinates.
  int ItemAtPos(const QPoint& pos) const;
  QRect ItemRect(int index) const;

  void SetBackgroundColour(const QColor& colour);
  void SetTextColour(const QColor& colour);  // for text outside any FONT tag
  void SetSelectionStartColour(const QColor& colour);
  void SetSelectionEndColour(const QColor& colour);
  void SetSelectionBorderColour(const QColor& colour);
  void SetSelectionTextColour(const QColor& colour);
  QColor BackgroundColour() const { return background_; }
  QColor SelectionTextColour() const { return selectionText_; }

 signals:
  void currentChanged(int index);
  void doubleClicked(int row);
  // Emitted first with the event ignored; a slot that accepts it stops the
  // list's own handling of the key.
  void keyPressed(QKeyEvent* event);
  void mousePressed(QMouseEvent* event, int row);
  void mouseMoved(QMouseEvent* event, int row);
  void mouseReleased(QMouseEvent* event, int row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  const MarkupRow& Row(int index) const;
  void PaintSelection(QPainter& painter, const QRect& rect) const;
  void UpdateGeometry();
  void ScheduleGeometry();
  void StyleScrollBar();
  bool MoveSelectionByKey(int key);
  void SelectionMoved(int index);

  QStringList items_;
  mutable std::vector<std::optional<MarkupRow>> rows_;  // parsed on first paint
  int itemIndex_ = -1;
  bool leftDown_ = false;
  MarkupRowPainter rowPainter_;
  int rowHeight_ = 0;
  bool geometryDue_ = false;  // rows were added since the scroll range was set

  QColor background_{0x0B, 0x18, 0x30};
  QColor text_{0xD6, 0xE4, 0xF5};
  QColor selectionStart_{0xDC, 0xE8, 0xF6};
  QColor selectionEnd_{0x2C, 0x64, 0xA6};
  QColor selectionBorder_{0xDC, 0xE8, 0xF6};
  QColor selectionText_{0xD6, 0xE4, 0xF5};
};

}  // namespace orve
