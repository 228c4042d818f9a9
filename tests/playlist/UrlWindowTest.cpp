// The URL window on real widgets: the caption follows the text, the button
// reports the text as typed, Enter and other closes report nothing.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "WindowFixture.h"
#include "playlist/UrlWindow.h"

namespace orve::test {
namespace {

class UrlWindowTest : public WindowFixture<UrlWindow> {
 protected:
  void Add() { QTest::mouseClick(Ui().addButton, Qt::LeftButton); }

};

TEST_F(UrlWindowTest, OpensWithThePresetModal) {
  EXPECT_EQ(Ui().addButton->text(), "Добавить");
  form->Open();
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(Ui().addressEdit->text(), "HTTP://");
  EXPECT_EQ(form->windowTitle(), "HTTP://");
}

TEST_F(UrlWindowTest, CaptionFollowsTypingAndAddReportsTheText) {
  form->Open();
  QSignalSpy added(form.get(), &UrlWindow::UrlAdded);
  QTest::keyClicks(Ui().addressEdit, "radio.local:8000/live");
  EXPECT_EQ(form->windowTitle(), "HTTP://radio.local:8000/live");
  QTest::keyClick(Ui().addressEdit, Qt::Key_Backspace);
  EXPECT_EQ(form->windowTitle(), "HTTP://radio.local:8000/liv");
  Add();
  ASSERT_EQ(added.count(), 1);
  EXPECT_EQ(added.at(0).at(0).toString(), "HTTP://radio.local:8000/liv");
  EXPECT_EQ(Ui().addressEdit->text(), "HTTP://");
  EXPECT_EQ(form->windowTitle(), "HTTP://");
  EXPECT_FALSE(form->isVisible());
}

// No check at all: the untouched preset and text that is no address both
// become entries.
TEST_F(UrlWindowTest, AnyTextIsAdded) {
  for (const QString& text : {QStringLiteral("HTTP://"), QStringLiteral(""), QStringLiteral("не адрес")}) {
    form->Open();
    Ui().addressEdit->setText(text);
    QSignalSpy added(form.get(), &UrlWindow::UrlAdded);
    Add();
    ASSERT_EQ(added.count(), 1) << text.toStdString();
    EXPECT_EQ(added.at(0).at(0).toString(), text);
  }
}

TEST_F(UrlWindowTest, EnterAndOtherClosesAddNothing) {
  form->Open();
  QSignalSpy added(form.get(), &UrlWindow::UrlAdded);
  QTest::keyClicks(Ui().addressEdit, "a.b/c");
  QTest::keyClick(Ui().addressEdit, Qt::Key_Return);
  QTest::keyClick(Ui().addressEdit, Qt::Key_Enter);
  EXPECT_TRUE(form->isVisible());
  form->close();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(added.count(), 0);
  // The next opening starts from the preset again.
  form->Open();
  EXPECT_EQ(Ui().addressEdit->text(), "HTTP://");
  EXPECT_EQ(form->windowTitle(), "HTTP://");
}

TEST_F(UrlWindowTest, ColoursFollowTheScheme) {
  ExpectColoursFollowTheScheme([this] {
    EXPECT_EQ(form->palette().color(QPalette::Window), Theme(ColourRole::Window));
    EXPECT_EQ(Ui().addButton->FontColour(), Theme(ColourRole::ButtonText));
    EXPECT_EQ(Ui().addButton->FaceColour(), Theme(ColourRole::ButtonFace));
    EXPECT_EQ(Ui().addButton->InnerBorderColour(), Theme(ColourRole::ButtonFace));
    EXPECT_EQ(Ui().addButton->GlowColour(), Theme(ColourRole::ButtonGlow));
  });
}

}  // namespace
}  // namespace orve::test
