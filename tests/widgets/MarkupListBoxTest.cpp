// The markup list: the items API and how it keeps the selection, selection
// and scrolling by mouse and keys, the hooks that windows build on, and what
// a selected row looks like.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "widgets/MarkupListBox.h"

namespace orve {
namespace {

QString Row(int i, const char* colour = "D6E4F5") {
  return QStringLiteral("<FONT color=\"#%1\"><B>Title %2<BR>%3:00</B></FONT>").arg(QLatin1String(colour)).arg(i).arg(i % 10);
}

class MarkupListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    list.setFont(font);
    list.resize(200, 150);
    for (int i = 0; i < 20; ++i) list.AddItem(Row(i));
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  }

  QPoint RowCentre(int index) const { return list.ItemRect(index).center(); }
  void Click(int index, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(list.viewport(), button, {}, RowCentre(index));
  }
  QStringList Texts() const {
    QStringList texts;
    for (int i = 0; i < list.Count(); ++i) texts << list.Item(i);
    return texts;
  }

  MarkupListBox list;
};

TEST_F(MarkupListBoxTest, RowsAreTwoLinesHighAndTheViewShowsWholeRows) {
  const int line = QFontMetrics(list.font()).height();
  EXPECT_GE(list.RowHeight(), 2 * line);
  EXPECT_EQ(list.VisibleRowCount(), list.viewport()->height() / list.RowHeight());
  QCoreApplication::processEvents();  // rows added in a row set the range once, on the next turn
  EXPECT_EQ(list.verticalScrollBar()->maximum(), 20 - list.VisibleRowCount());
}

// Rows just added can be scrolled to at once, before the event loop runs.
TEST_F(MarkupListBoxTest, ARowJustAddedCanBeShownAtOnce) {
  QCoreApplication::processEvents();
  for (int i = 20; i < 200; ++i) list.AddItem(Row(i));
  list.MakeVisible(199);
  EXPECT_EQ(list.TopIndex(), 200 - list.VisibleRowCount());
  EXPECT_EQ(list.verticalScrollBar()->maximum(), 200 - list.VisibleRowCount());
}

TEST_F(MarkupListBoxTest, InsertAndDeleteKeepTheSelectionOnItsItem) {
  list.SetItemIndex(5);
  QSignalSpy changed(&list, &MarkupListBox::currentChanged);
  list.InsertItem(2, QStringLiteral("new"));
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].toInt(), 6);
  EXPECT_EQ(list.ItemIndex(), 6);
  EXPECT_EQ(list.Item(2), QStringLiteral("new"));
  list.DeleteItem(0);
  EXPECT_EQ(list.ItemIndex(), 5);
  list.DeleteItem(9);
  EXPECT_EQ(list.ItemIndex(), 5);
  EXPECT_EQ(list.Item(5), Row(5));
  EXPECT_EQ(changed.count(), 2) << "the later deletion shifted nothing";
}

TEST_F(MarkupListBoxTest, DeletingTheSelectedItemClearsTheSelection) {
  list.SetItemIndex(3);
  QSignalSpy changed(&list, &MarkupListBox::currentChanged);
  list.DeleteItem(3);
  EXPECT_EQ(list.ItemIndex(), -1);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].toInt(), -1);
  EXPECT_EQ(list.Count(), 19);
}

TEST_F(MarkupListBoxTest, ExchangeSwapsTextsAndLeavesTheSelectionAtItsIndex) {
  list.SetItemIndex(1);
  list.ExchangeItems(1, 4);
  EXPECT_EQ(list.Item(1), Row(4));
  EXPECT_EQ(list.Item(4), Row(1));
  EXPECT_EQ(list.ItemIndex(), 1);
}

TEST_F(MarkupListBoxTest, OutOfRangeCallsChangeNothing) {
  const QStringList before = Texts();
  list.SetItem(20, QStringLiteral("x"));
  list.SetItem(-1, QStringLiteral("x"));
  list.InsertItem(21, QStringLiteral("x"));
  list.DeleteItem(20);
  list.ExchangeItems(0, 20);
  EXPECT_EQ(Texts(), before);
  EXPECT_EQ(list.Item(20), QString());
  list.SetItemIndex(2);
  list.SetItemIndex(99);
  EXPECT_EQ(list.ItemIndex(), -1);
}

TEST_F(MarkupListBoxTest, SetItemReplacesTheTextAndItsParsedRow) {
  list.SetItem(0, Row(0, "FF0000"));
  EXPECT_EQ(list.Item(0), Row(0, "FF0000"));
  const QImage image = list.grab().toImage();
  bool red = false;
  const QRect r = list.ItemRect(0);
  for (int y = r.top(); y <= r.bottom() && !red; ++y)
    for (int x = r.left(); x < r.left() + 60 && !red; ++x) {
      const QColor c = image.pixelColor(x, y);
      red = c.red() > 200 && c.green() < 60 && c.blue() < 60;
    }
  EXPECT_TRUE(red) << "the new colour of the row is drawn";
}

TEST_F(MarkupListBoxTest, ClearEmptiesTheListAndTheSelection) {
  list.SetItemIndex(4);
  list.SetTopIndex(3);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.TopIndex(), 0);
  EXPECT_EQ(list.ItemAtPos(QPoint(10, 10)), -1);
}

TEST_F(MarkupListBoxTest, ALeftClickSelectsTheRowUnderThePointer) {
  QSignalSpy changed(&list, &MarkupListBox::currentChanged);
  QSignalSpy pressed(&list, &MarkupListBox::mousePressed);
  Click(2);
  EXPECT_EQ(list.ItemIndex(), 2);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].toInt(), 2);
  ASSERT_EQ(pressed.count(), 1);
  EXPECT_EQ(pressed[0][1].toInt(), 2);
}

TEST_F(MarkupListBoxTest, ARightClickReportsTheRowButDoesNotSelect) {
  list.SetItemIndex(1);
  QSignalSpy pressed(&list, &MarkupListBox::mousePressed);
  QSignalSpy released(&list, &MarkupListBox::mouseReleased);
  Click(3, Qt::RightButton);
  EXPECT_EQ(list.ItemIndex(), 1);
  ASSERT_EQ(pressed.count(), 1);
  EXPECT_EQ(pressed[0][1].toInt(), 3);
  ASSERT_EQ(released.count(), 1);
  EXPECT_EQ(released[0][1].toInt(), 3);
}

TEST_F(MarkupListBoxTest, AClickBelowTheLastRowReportsNoRowAndKeepsTheSelection) {
  while (list.Count() > 2) list.DeleteItem(2);
  list.SetItemIndex(0);
  QSignalSpy pressed(&list, &MarkupListBox::mousePressed);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(20, 3 * list.RowHeight()));
  EXPECT_EQ(list.ItemIndex(), 0);
  ASSERT_EQ(pressed.count(), 1);
  EXPECT_EQ(pressed[0][1].toInt(), -1);
}

TEST_F(MarkupListBoxTest, TheSelectionFollowsALeftDragFromRowToRow) {
  QSignalSpy moved(&list, &MarkupListBox::mouseMoved);
  QTest::mousePress(list.viewport(), Qt::LeftButton, {}, RowCentre(0));
  QMouseEvent move(QEvent::MouseMove, QPointF(RowCentre(2)), list.viewport()->mapToGlobal(QPointF(RowCentre(2))),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list.viewport(), &move);
  EXPECT_EQ(list.ItemIndex(), 2);
  ASSERT_EQ(moved.count(), 1);
  EXPECT_EQ(moved[0][1].toInt(), 2);
  QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, RowCentre(2));
}

TEST_F(MarkupListBoxTest, ADoubleClickSelectsAndReportsTheRow) {
  QSignalSpy doubled(&list, &MarkupListBox::doubleClicked);
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, RowCentre(3));
  EXPECT_EQ(list.ItemIndex(), 3);
  ASSERT_EQ(doubled.count(), 1);
  EXPECT_EQ(doubled[0][0].toInt(), 3);
}

TEST_F(MarkupListBoxTest, ItemAtPosCountsFromTheTopIndex) {
  list.SetTopIndex(5);
  EXPECT_EQ(list.TopIndex(), 5);
  EXPECT_EQ(list.ItemAtPos(QPoint(10, 0)), 5);
  EXPECT_EQ(list.ItemAtPos(QPoint(10, list.RowHeight())), 6);
  EXPECT_EQ(list.ItemAtPos(QPoint(-1, 5)), -1);
  Click(6);
  EXPECT_EQ(list.ItemIndex(), 6);
}

struct KeyCase {
  const char* name;
  int start;
  Qt::Key key;
  int expected;
};

class MarkupListBoxKeyTest : public MarkupListBoxTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(MarkupListBoxKeyTest, KeysMoveTheSelectionAndKeepItVisible) {
  const KeyCase& c = GetParam();
  list.SetItemIndex(c.start);
  list.MakeVisible(c.start);
  QTest::keyClick(&list, c.key);
  EXPECT_EQ(list.ItemIndex(), c.expected);
  EXPECT_LE(list.TopIndex(), c.expected);
  EXPECT_GT(list.TopIndex() + list.VisibleRowCount(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, MarkupListBoxKeyTest,
                         ::testing::Values(KeyCase{"DownFromNone", -1, Qt::Key_Down, 0},
                                           KeyCase{"UpFromNone", -1, Qt::Key_Up, 0},
                                           KeyCase{"Down", 3, Qt::Key_Down, 4},
                                           KeyCase{"DownAtLast", 19, Qt::Key_Down, 19},
                                           KeyCase{"UpAtFirst", 0, Qt::Key_Up, 0},
                                           KeyCase{"Home", 12, Qt::Key_Home, 0},
                                           KeyCase{"End", 2, Qt::Key_End, 19},
                                           KeyCase{"PageDownNearEnd", 18, Qt::Key_PageDown, 19},
                                           KeyCase{"PageUpNearStart", 1, Qt::Key_PageUp, 0}),
                         [](const ::testing::TestParamInfo<KeyCase>& p) { return std::string(p.param.name); });

TEST_F(MarkupListBoxTest, PageDownMovesByOneRowLessThanThePage) {
  list.SetItemIndex(0);
  QTest::keyClick(&list, Qt::Key_PageDown);
  EXPECT_EQ(list.ItemIndex(), std::max(1, list.VisibleRowCount() - 1));
}

TEST_F(MarkupListBoxTest, EndScrollsTheLastRowIntoTheBottomOfTheView) {
  list.SetItemIndex(0);
  QTest::keyClick(&list, Qt::Key_End);
  EXPECT_EQ(list.TopIndex(), 20 - list.VisibleRowCount());
  QTest::keyClick(&list, Qt::Key_Home);
  EXPECT_EQ(list.TopIndex(), 0);
}

TEST_F(MarkupListBoxTest, AKeySlotThatAcceptsTheKeyStopsTheListsOwnHandling) {
  QList<int> seen;
  QObject::connect(&list, &MarkupListBox::keyPressed, [&](QKeyEvent* e) {
    seen << e->key();
    if (e->key() == Qt::Key_PageDown) e->accept();
  });
  list.SetItemIndex(0);
  QTest::keyClick(&list, Qt::Key_PageDown);
  EXPECT_EQ(list.ItemIndex(), 0);
  QTest::keyClick(&list, Qt::Key_Down);
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_EQ(seen, (QList<int>{Qt::Key_PageDown, Qt::Key_Down}));
}

TEST_F(MarkupListBoxTest, TheWheelScrollsByRows) {
  QWheelEvent wheel(QPointF(20, 20), list.viewport()->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(list.viewport(), &wheel);
  EXPECT_EQ(list.TopIndex(), QApplication::wheelScrollLines());
  EXPECT_EQ(list.ItemIndex(), -1);
}

TEST_F(MarkupListBoxTest, MakeVisibleScrollsOnlyWhenNeeded) {
  list.MakeVisible(15);
  EXPECT_EQ(list.TopIndex(), 15 - list.VisibleRowCount() + 1);
  const int top = list.TopIndex();
  list.MakeVisible(15 - 1);
  EXPECT_EQ(list.TopIndex(), top);
  list.MakeVisible(2);
  EXPECT_EQ(list.TopIndex(), 2);
}

TEST_F(MarkupListBoxTest, AShortListCannotScroll) {
  while (list.Count() > 2) list.DeleteItem(2);
  EXPECT_EQ(list.verticalScrollBar()->maximum(), 0);
  list.SetTopIndex(1);
  EXPECT_EQ(list.TopIndex(), 0);
}

int Distance(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

TEST_F(MarkupListBoxTest, TheSelectedRowIsAFramedGradientFromStartToEnd) {
  const QColor background(0x0B, 0x18, 0x30), start(0xDC, 0xE8, 0xF6), end(0x2C, 0x64, 0xA6),
      border(0xFF, 0x80, 0x00);
  list.SetBackgroundColour(background);
  list.SetSelectionStartColour(start);
  list.SetSelectionEndColour(end);
  list.SetSelectionBorderColour(border);
  list.SetItemIndex(1);
  const QImage image = list.grab().toImage();
  const QRect row = list.ItemRect(1);
  const int x = row.right() - 14;  // right of the short texts, left of the scroll bar
  ASSERT_LT(x, list.viewport()->width());
  EXPECT_EQ(image.pixelColor(x, row.top()), border);
  EXPECT_EQ(image.pixelColor(x, row.bottom()), border);
  const QColor top = image.pixelColor(x, row.top() + 2);
  const QColor bottom = image.pixelColor(x, row.top() + row.height() * 3 / 4);
  EXPECT_LT(Distance(top, start), Distance(bottom, start)) << "the top leans to the start colour";
  EXPECT_LT(Distance(bottom, end), 40) << "the lower half is the end colour";
  EXPECT_EQ(image.pixelColor(x, list.ItemRect(0).center().y()), background);
  EXPECT_EQ(image.pixelColor(x, list.ItemRect(2).center().y()), background);
}

TEST_F(MarkupListBoxTest, TheSelectedRowTakesTheSelectionTextColour) {
  const QColor select(0xFF, 0x00, 0xFF);
  list.SetSelectionTextColour(select);
  list.SetItemIndex(0);
  const QImage image = list.grab().toImage();
  auto count = [&](int index) {
    int n = 0;
    const QRect r = list.ItemRect(index);
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x < r.left() + 80; ++x) n += Distance(image.pixelColor(x, y), select) < 30;
    return n;
  };
  EXPECT_GT(count(0), 10);
  EXPECT_EQ(count(1), 0);
}

TEST_F(MarkupListBoxTest, TenThousandRowsScrollToTheEnd) {
  list.Clear();
  for (int i = 0; i < 10000; ++i) list.AddItem(Row(i));
  list.SetItemIndex(9999);
  list.MakeVisible(9999);
  EXPECT_EQ(list.TopIndex(), 10000 - list.VisibleRowCount());
  EXPECT_EQ(list.ItemAtPos(list.ItemRect(9999).center()), 9999);
  EXPECT_FALSE(list.grab().isNull());
}

}  // namespace
}  // namespace orve
