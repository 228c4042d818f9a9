// The URL window on real widgets: the caption follows the text, the button
// reports the text as typed, Enter and other closes report nothing.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "WindowFixture.h"
#include "playlist/Unit8.h"

namespace orve::test {
namespace {

class UrlWindowTest : public WindowFixture<TForm8> {
 protected:
  void Add() { QTest::mouseClick(form->AdvGlassButton1, Qt::LeftButton); }

};

TEST_F(UrlWindowTest, OpensWithThePresetModal) {
  EXPECT_EQ(form->AdvGlassButton1->text(), "Добавить");
  form->OpenUrlDialog();
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(form->Edit1->text(), "HTTP://");
  EXPECT_EQ(form->windowTitle(), "HTTP://");
}

TEST_F(UrlWindowTest, CaptionFollowsTypingAndAddReportsTheText) {
  form->OpenUrlDialog();
  QSignalSpy added(form.get(), &TForm8::UrlAdded);
  QTest::keyClicks(form->Edit1, "radio.local:8000/live");
  EXPECT_EQ(form->windowTitle(), "HTTP://radio.local:8000/live");
  QTest::keyClick(form->Edit1, Qt::Key_Backspace);
  EXPECT_EQ(form->windowTitle(), "HTTP://radio.local:8000/liv");
  Add();
  ASSERT_EQ(added.count(), 1);
  EXPECT_EQ(added.at(0).at(0).toString(), "HTTP://radio.local:8000/liv");
  EXPECT_EQ(form->Edit1->text(), "HTTP://");
  EXPECT_EQ(form->windowTitle(), "HTTP://");
  EXPECT_FALSE(form->isVisible());
}

// No check at all: the untouched preset and text that is no address both
// become entries.
TEST_F(UrlWindowTest, AnyTextIsAdded) {
  for (const QString& text : {QStringLiteral("HTTP://"), QStringLiteral(""), QStringLiteral("не адрес")}) {
    form->OpenUrlDialog();
    form->Edit1->setText(text);
    QSignalSpy added(form.get(), &TForm8::UrlAdded);
    Add();
    ASSERT_EQ(added.count(), 1) << text.toStdString();
    EXPECT_EQ(added.at(0).at(0).toString(), text);
  }
}

TEST_F(UrlWindowTest, EnterAndOtherClosesAddNothing) {
  form->OpenUrlDialog();
  QSignalSpy added(form.get(), &TForm8::UrlAdded);
  QTest::keyClicks(form->Edit1, "a.b/c");
  QTest::keyClick(form->Edit1, Qt::Key_Return);
  QTest::keyClick(form->Edit1, Qt::Key_Enter);
  EXPECT_TRUE(form->isVisible());
  form->close();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(added.count(), 0);
  // The next opening starts from the preset again.
  form->OpenUrlDialog();
  EXPECT_EQ(form->Edit1->text(), "HTTP://");
  EXPECT_EQ(form->windowTitle(), "HTTP://");
}

TEST_F(UrlWindowTest, ColoursFollowTheScheme) {
  ExpectColoursFollowTheScheme([this] {
    EXPECT_EQ(form->palette().color(QPalette::Window), Theme(5));
    EXPECT_EQ(form->AdvGlassButton1->FontColor(), Theme(2));
    EXPECT_EQ(form->AdvGlassButton1->FaceColor(), Theme(6));
    EXPECT_EQ(form->AdvGlassButton1->InnerBorderColor(), Theme(6));
    EXPECT_EQ(form->AdvGlassButton1->GlowColor(), Theme(7));
  });
}

}  // namespace
}  // namespace orve::test
