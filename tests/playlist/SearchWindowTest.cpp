// The search window on real widgets: filtering while typing, choosing by
// double-click and by Enter, reopening, colours.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>

#include "WindowFixture.h"
#include "playlist/SearchWindow.h"

namespace orve::test {
namespace {

class SearchWindowTest : public WindowFixture<SearchWindow> {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    for (const char* title : {"Alpha", "Beta", "Gamma"}) Add(title);
  }
  void Add(const QString& title) {
    TCore& engine = *state.Engine;
    engine.Paths.append("/music/" + title + ".mp3");
    engine.Titles.append(title);
    engine.Durations.append("60");
    engine.Kinds.append("1");
  }
  QStringList Rows() const {
    QStringList rows;
    for (int r = 0; r < Ui().resultList->count(); ++r) rows.append(Ui().resultList->item(r)->text());
    return rows;
  }
  void Type(const QString& text) { QTest::keyClicks(Ui().searchEdit, text); }
  QPoint RowCentre(int r) const {
    return Ui().resultList->visualItemRect(Ui().resultList->item(r)).center();
  }
  void DoubleClickRow(int r) {
    QTest::mouseDClick(Ui().resultList->viewport(), Qt::LeftButton, {}, RowCentre(r));
  }
  void EnterOnRow(int r) {
    QTest::mouseClick(Ui().resultList->viewport(), Qt::LeftButton, {}, RowCentre(r));
    QTest::keyClick(Ui().resultList, Qt::Key_Return);
  }

};

TEST_F(SearchWindowTest, OpensWithEveryTitleModalAndFocusedOnTheText) {
  EXPECT_EQ(form->windowTitle(), "Поиск");
  EXPECT_EQ(form->size(), QSize(442, 405));
  form->Open();
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(Rows(), QStringList({"Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(form->ResultEntries(), QList<int>({0, 1, 2}));
  EXPECT_TRUE(Ui().searchEdit->text().isEmpty());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  EXPECT_TRUE(Ui().searchEdit->hasFocus());
}

TEST_F(SearchWindowTest, EveryKeystrokeFilters) {
  form->Open();
  Type("a");  // a-z fold: all three hold an "A" or "a"
  EXPECT_EQ(Rows(), QStringList({"Alpha", "Beta", "Gamma"}));
  Type("m");
  EXPECT_EQ(Rows(), QStringList({"Gamma"}));
  EXPECT_EQ(form->ResultEntries(), QList<int>({2}));
  QTest::keyClick(Ui().searchEdit, Qt::Key_Backspace);
  QTest::keyClick(Ui().searchEdit, Qt::Key_Backspace);
  EXPECT_EQ(Rows(), QStringList({"Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(form->ResultEntries(), QList<int>({0, 1, 2}));
}

// Double-click and Enter are the same choose step.
TEST_F(SearchWindowTest, ChoosingTheOnlyRowStartsItsEntryAndCloses) {
  const std::pair<const char*, std::function<void()>> choosers[] = {
      {"double-click", [this] { DoubleClickRow(0); }},
      {"Enter", [this] { EnterOnRow(0); }},
  };
  for (const auto& [how, choose] : choosers) {
    SCOPED_TRACE(how);
    form->Open();
    Type("GAM");
    ASSERT_EQ(Rows(), QStringList({"Gamma"}));
    QSignalSpy chosen(form.get(), &SearchWindow::EntryChosen);
    QSignalSpy finished(form.get(), &SearchWindow::ChooseFinished);
    choose();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 2);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(form->isVisible());
  }
}

TEST_F(SearchWindowTest, NothingSelectedOnlyRefreshesTheLabel) {
  form->Open();
  Type("zzz");
  EXPECT_EQ(Ui().resultList->count(), 0);
  EXPECT_TRUE(form->ResultEntries().isEmpty());
  QSignalSpy chosen(form.get(), &SearchWindow::EntryChosen);
  QSignalSpy finished(form.get(), &SearchWindow::ChooseFinished);
  QTest::mouseDClick(Ui().resultList->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
  QTest::keyClick(Ui().resultList, Qt::Key_Enter);
  EXPECT_EQ(chosen.count(), 0);
  EXPECT_EQ(finished.count(), 2);
  EXPECT_TRUE(form->isVisible());
}

TEST_F(SearchWindowTest, ReopeningShowsEveryTitleAgainWithItsOwnEntry) {
  form->Open();
  Type("bet");
  ASSERT_EQ(Rows(), QStringList({"Beta"}));
  form->close();
  Add("Delta");
  form->Open();
  EXPECT_TRUE(Ui().searchEdit->text().isEmpty());
  EXPECT_EQ(Rows(), QStringList({"Alpha", "Beta", "Gamma", "Delta"}));
  EXPECT_EQ(form->ResultEntries(), QList<int>({0, 1, 2, 3}));
  QSignalSpy chosen(form.get(), &SearchWindow::EntryChosen);
  DoubleClickRow(3);
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen.at(0).at(0).toInt(), 3);
}

TEST_F(SearchWindowTest, ColoursFollowTheScheme) {
  ExpectColoursFollowTheScheme([this] {
    EXPECT_EQ(form->palette().color(QPalette::Window), Theme(ColourRole::Window));
    for (QWidget* field : {static_cast<QWidget*>(Ui().searchEdit), static_cast<QWidget*>(Ui().resultList)}) {
      EXPECT_EQ(field->palette().color(QPalette::Text), Theme(ColourRole::Highlight));
      EXPECT_EQ(field->palette().color(QPalette::Base), Theme(ColourRole::Panel));
    }
  });
}

}  // namespace
}  // namespace orve::test
