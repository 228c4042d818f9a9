// The search window on real widgets: filtering while typing, choosing by
// double-click and by Enter, reopening, colours.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>

#include "WindowFixture.h"
#include "playlist/Unit14.h"

namespace orve::test {
namespace {

class SearchWindowTest : public WindowFixture<TForm14> {
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
    for (int r = 0; r < form->ListBox1->count(); ++r) rows.append(form->ListBox1->item(r)->text());
    return rows;
  }
  void Type(const QString& text) { QTest::keyClicks(form->Edit1, text); }
  QPoint RowCentre(int r) const {
    return form->ListBox1->visualItemRect(form->ListBox1->item(r)).center();
  }
  void DoubleClickRow(int r) {
    QTest::mouseDClick(form->ListBox1->viewport(), Qt::LeftButton, {}, RowCentre(r));
  }
  void EnterOnRow(int r) {
    QTest::mouseClick(form->ListBox1->viewport(), Qt::LeftButton, {}, RowCentre(r));
    QTest::keyClick(form->ListBox1, Qt::Key_Return);
  }

};

TEST_F(SearchWindowTest, OpensWithEveryTitleModalAndFocusedOnTheText) {
  EXPECT_EQ(form->windowTitle(), "Поиск");
  EXPECT_EQ(form->size(), QSize(442, 405));
  form->OpenSearch();
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(Rows(), QStringList({"Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(form->IndexMap, QStringList({"0", "1", "2"}));
  EXPECT_TRUE(form->Edit1->text().isEmpty());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  EXPECT_TRUE(form->Edit1->hasFocus());
}

TEST_F(SearchWindowTest, EveryKeystrokeFilters) {
  form->OpenSearch();
  Type("a");  // a-z fold: all three hold an "A" or "a"
  EXPECT_EQ(Rows(), QStringList({"Alpha", "Beta", "Gamma"}));
  Type("m");
  EXPECT_EQ(Rows(), QStringList({"Gamma"}));
  EXPECT_EQ(form->IndexMap, QStringList({"2"}));
  QTest::keyClick(form->Edit1, Qt::Key_Backspace);
  QTest::keyClick(form->Edit1, Qt::Key_Backspace);
  EXPECT_EQ(Rows(), QStringList({"Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(form->IndexMap, QStringList({"0", "1", "2"}));
}

// Double-click and Enter are the same choose step.
TEST_F(SearchWindowTest, ChoosingTheOnlyRowStartsItsEntryAndCloses) {
  const std::pair<const char*, std::function<void()>> choosers[] = {
      {"double-click", [this] { DoubleClickRow(0); }},
      {"Enter", [this] { EnterOnRow(0); }},
  };
  for (const auto& [how, choose] : choosers) {
    SCOPED_TRACE(how);
    form->OpenSearch();
    Type("GAM");
    ASSERT_EQ(Rows(), QStringList({"Gamma"}));
    QSignalSpy chosen(form.get(), &TForm14::EntryChosen);
    QSignalSpy finished(form.get(), &TForm14::ChooseFinished);
    choose();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 2);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(form->isVisible());
  }
}

TEST_F(SearchWindowTest, NothingSelectedOnlyRefreshesTheLabel) {
  form->OpenSearch();
  Type("zzz");
  EXPECT_EQ(form->ListBox1->count(), 0);
  EXPECT_TRUE(form->IndexMap.isEmpty());
  QSignalSpy chosen(form.get(), &TForm14::EntryChosen);
  QSignalSpy finished(form.get(), &TForm14::ChooseFinished);
  QTest::mouseDClick(form->ListBox1->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
  QTest::keyClick(form->ListBox1, Qt::Key_Enter);
  EXPECT_EQ(chosen.count(), 0);
  EXPECT_EQ(finished.count(), 2);
  EXPECT_TRUE(form->isVisible());
}

TEST_F(SearchWindowTest, ReopeningShowsEveryTitleAgainWithItsOwnEntry) {
  form->OpenSearch();
  Type("bet");
  ASSERT_EQ(Rows(), QStringList({"Beta"}));
  form->close();
  Add("Delta");
  form->OpenSearch();
  EXPECT_TRUE(form->Edit1->text().isEmpty());
  EXPECT_EQ(Rows(), QStringList({"Alpha", "Beta", "Gamma", "Delta"}));
  EXPECT_EQ(form->IndexMap, QStringList({"0", "1", "2", "3"}));
  QSignalSpy chosen(form.get(), &TForm14::EntryChosen);
  DoubleClickRow(3);
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen.at(0).at(0).toInt(), 3);
}

TEST_F(SearchWindowTest, ColoursFollowTheScheme) {
  ExpectColoursFollowTheScheme([this] {
    EXPECT_EQ(form->palette().color(QPalette::Window), Theme(5));
    for (QWidget* field : {static_cast<QWidget*>(form->Edit1), static_cast<QWidget*>(form->ListBox1)}) {
      EXPECT_EQ(field->palette().color(QPalette::Text), Theme(1));
      EXPECT_EQ(field->palette().color(QPalette::Base), Theme(0));
    }
  });
}

}  // namespace
}  // namespace orve::test
