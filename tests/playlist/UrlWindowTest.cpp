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
  EXPECT_EQ(Ui().addressEdit->selectedText(), "HTTP://");
  EXPECT_EQ(form->windowTitle(), "HTTP://");
}

TEST_F(UrlWindowTest, CaptionFollowsTypingAndAddReportsTheText) {
  form->Open();
  QSignalSpy added(form.get(), &UrlWindow::UrlAdded);
  QTest::keyClicks(Ui().addressEdit, "radio.local:8000/live");  // replaces the selected preset
  EXPECT_EQ(form->windowTitle(), "radio.local:8000/live");
  QTest::keyClick(Ui().addressEdit, Qt::Key_Backspace);
  EXPECT_EQ(form->windowTitle(), "radio.local:8000/liv");
  Add();
  ASSERT_EQ(added.count(), 1);
  EXPECT_EQ(added.at(0).at(0).toString(), "HTTP://radio.local:8000/liv");
  EXPECT_EQ(Ui().addressEdit->text(), "HTTP://");
  EXPECT_EQ(form->windowTitle(), "HTTP://");
  EXPECT_FALSE(form->isVisible());
}

// Nothing is refused: the untouched preset and text that is no address
// become entries too. Text without a scheme gets the preset's; an address
// pasted behind the preset keeps only its own scheme, in its letter case.
TEST_F(UrlWindowTest, AnyTextIsAddedWithOneScheme) {
  const struct {
    const char* text;
    const char* added;
  } cases[] = {
      {"HTTP://", "HTTP://"},
      {"", "HTTP://"},
      {"не адрес", "HTTP://не адрес"},
      {"HTTP://http://radio.local/a", "http://radio.local/a"},
      {"HTTP://HTTPS://radio.local/a", "HTTPS://radio.local/a"},
      {"  https://radio.local/a  ", "https://radio.local/a"},
      {"Http://radio.local/A", "Http://radio.local/A"},
  };
  for (const auto& c : cases) {
    form->Open();
    Ui().addressEdit->setText(QString::fromUtf8(c.text));
    QSignalSpy added(form.get(), &UrlWindow::UrlAdded);
    Add();
    ASSERT_EQ(added.count(), 1) << c.text;
    EXPECT_EQ(added.at(0).at(0).toString(), QString::fromUtf8(c.added)) << c.text;
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
