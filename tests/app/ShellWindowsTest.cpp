// The now-playing window, the splash and the about window in the running
// program (offscreen). ORVE_SCREENSHOT_DIR keeps pictures of the three.
#include <QAction>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabWidget>

#include "PlaylistFixture.h"
#include "app/AboutWindow.h"
#include "app/NowPlayingWindow.h"
#include "app/SplashWindow.h"
#include "widgets/ElidedLabel.h"
#include "widgets/ProgressBar.h"
#include "widgets/ScreenPlacement.h"

namespace orve::test {
namespace {

void KeepPicture(QWidget* window, const QString& name) {
  if (const QString dir = qEnvironmentVariable("ORVE_SCREENSHOT_DIR"); !dir.isEmpty()) {
    window->grab().save(dir + "/" + name);
  }
}

class ShellWindowsTest : public PlaylistFixture {
 protected:
  NowPlayingWindow* nowPlaying() const { return app.Windows().nowPlaying; }
  NowPlayingWindow::Controls npUi() const { return nowPlaying()->ControlsForTest(); }
};

TEST_F(ShellWindowsTest, TheNowPlayingWindowFollowsTheEntryFromStartToRemoval) {
  home.write("config.ini", "[core]\r\nsplash=0\r\n");
  Start();
  ASSERT_NE(nowPlaying(), nullptr);
  EXPECT_FALSE(nowPlaying()->isVisible());
  EXPECT_EQ(nowPlaying()->size(), QSize(304, 80));
  EXPECT_NEAR(nowPlaying()->windowOpacity(), 200 / 255.0, 1e-3);
  const struct {
    QWidget* control;
    QRect place;
  } layout[] = {{npUi().titleLabel, {0, 12, 304, 13}},
                {npUi().artistLabel, {0, 31, 304, 13}},
                {npUi().positionBar, {-1, 50, 305, 11}},
                {npUi().timeLabel, {0, 67, 304, 13}}};
  for (const auto& c : layout) EXPECT_EQ(c.control->geometry(), c.place) << c.control->metaObject()->className();
  const ColourScheme& s = app.State().Scheme;
  EXPECT_EQ(nowPlaying()->palette().color(QPalette::Window), s.Colour(ColourRole::Window));
  EXPECT_EQ(npUi().positionBar->BackgroundColour(), s.Colour(ColourRole::Window));
  for (QLabel* label : {static_cast<QLabel*>(npUi().titleLabel), static_cast<QLabel*>(npUi().artistLabel),
                        npUi().timeLabel}) {
    EXPECT_EQ(label->palette().color(QPalette::WindowText), s.Colour(ColourRole::Highlight));
  }
  EXPECT_EQ(npUi().timeLabel->text(), "0:00/0:00");

  Add({kFixtures + "tagged.m4a"});
  StartRow(0);
  EXPECT_EQ(npUi().titleLabel->text(), "M4A Title");
  EXPECT_EQ(npUi().artistLabel->text(), "M4A Artist");
  // The time and the bar follow the time display.
  EXPECT_EQ_SOON(npUi().timeLabel->text(), mainUi().timeLabel->text(), 3000);
  EXPECT_EQ(npUi().positionBar->Maximum(), mainUi().seekBar->maximum());
  EXPECT_EQ(npUi().positionBar->Value(), mainUi().seekBar->value());

  // In the corner of the work area when shown; a long title ends in an ellipsis.
  nowPlaying()->show();
  const QRect area = Monitors().front().workArea;
  EXPECT_EQ(nowPlaying()->frameGeometry().bottomRight(), area.bottomRight());
  nowPlaying()->ShowLines(QString(200, QChar(u'ж')), "x");
  EXPECT_TRUE(npUi().titleLabel->ShownText().endsWith(QChar(0x2026)));
  EXPECT_EQ(npUi().titleLabel->text(), QString(200, QChar(u'ж')));  // kept whole
  nowPlaying()->ShowLines("M4A Title", "M4A Artist");
  KeepPicture(nowPlaying(), "now-playing.png");
  nowPlaying()->hide();

  // The current entry removed: the lines empty, the time at rest.
  pls->SelectIndex(0);
  pls->RemoveSelected();
  EXPECT_EQ(npUi().titleLabel->text(), "");
  EXPECT_EQ(npUi().artistLabel->text(), "");
  EXPECT_EQ(npUi().timeLabel->text(), "0:00/0:00");
  EXPECT_EQ(npUi().positionBar->Value(), 0);

  // The same when the playlist is cleared.
  Add({kFixtures + "tagged.m4a"});
  StartRow(0);
  EXPECT_EQ(npUi().titleLabel->text(), "M4A Title");
  pls->ClearPlaylist();
  EXPECT_EQ(npUi().titleLabel->text(), "");
  EXPECT_EQ(npUi().artistLabel->text(), "");
}

TEST(SplashWindow, FadesInHoldsAndFadesOutOnItsTimer) {
  const struct {
    int tick;
    int opacity;
  } curve[] = {{0, 0}, {1, 3}, {84, 252}, {85, 255}, {134, 255}, {135, 255}, {136, 250}, {185, 5}, {186, -1}};
  for (const auto& c : curve) EXPECT_EQ(SplashWindow::OpacityAt(c.tick), c.opacity) << c.tick;
  // Never longer than 255 ticks of 10 ms, which start-up once waited for.
  int last = 0;
  while (SplashWindow::OpacityAt(last) >= 0) ++last;
  EXPECT_LT(last, 255);
}

TEST_F(ShellWindowsTest, TheSplashGreetsWithoutHoldingStartUp) {
  Start();  // core/splash is on by default
  QPointer<SplashWindow> splash = app.Windows().splash;
  ASSERT_FALSE(splash.isNull());
  EXPECT_TRUE(splash->isVisible());
  EXPECT_TRUE(main->isVisible());  // start-up went on under it
  EXPECT_EQ(splash->size(), QSize(300, 299));
  KeepPicture(splash, "splash.png");
  ASSERT_TRUE(WaitUntil([&] { return splash.isNull(); }, 10000));
  End();

  // Closed at once by a click.
  Start();
  splash = app.Windows().splash;
  ASSERT_FALSE(splash.isNull());
  QTest::mouseClick(splash, Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return splash.isNull(); }, 1000));
  End();

  home.write("config.ini", "[core]\r\nsplash=0\r\n");
  Start();
  EXPECT_TRUE(app.Windows().splash.isNull());
}

TEST_F(ShellWindowsTest, TheAboutWindowOpensFromF1TheButtonAndTheMenuAndOkHidesIt) {
  home.write("config.ini", "[core]\r\nsplash=0\r\n");
  Start();
  AboutWindow* about = app.Windows().about;
  ASSERT_NE(about, nullptr);
  const AboutWindow::Controls ui = about->ControlsForTest();
  EXPECT_EQ(about->windowTitle(), "Об Авторах");
  EXPECT_EQ(about->size(), QSize(373, 359));
  EXPECT_EQ(ui.tabs->geometry(), QRect(8, 8, 360, 328));
  EXPECT_EQ(ui.okButton->geometry(), QRect(327, 339, 38, 20));
  EXPECT_EQ(ui.okButton->text(), "Ok");
  const ColourScheme& s = app.State().Scheme;
  EXPECT_EQ(about->palette().color(QPalette::Window), s.Colour(ColourRole::ButtonText));
  EXPECT_EQ(ui.creditsLabel->palette().color(QPalette::WindowText), s.Colour(ColourRole::LabelText));
  EXPECT_EQ(ui.tabs->palette().color(QPalette::Highlight), s.Colour(ColourRole::Highlight));
  QStringList captions;
  for (int i = 0; i < ui.tabs->count(); ++i) captions << ui.tabs->tabText(i);
  EXPECT_EQ(captions, QStringList({"ORVE", "Автор", "Версия", "Горячие клавиши"}));
  EXPECT_TRUE(ui.creditsLabel->text().contains(AboutWindow::kProjectAddress));
  EXPECT_TRUE(ui.versionText->isReadOnly());
  EXPECT_TRUE(ui.versionText->toPlainText().startsWith("ORVE 1.9\n+ "));

  const auto opens = [&](const std::function<void()>& how, const char* what) {
    about->hide();
    how();
    EXPECT_TRUE(about->isVisible()) << what;
  };
  opens([&] { mainUi().aboutButton->click(); }, "?");
  opens([&] {
    for (QAction* a : mainUi().mainMenu->actions()) {
      if (a->text() == "Автор") a->trigger();
    }
  }, "Автор");
  opens([&] { QTest::keyClick(mainUi().seekBar, Qt::Key_F1); }, "F1 on the main window");
  opens([&] { QTest::keyClick(plsUi().entryList, Qt::Key_F1); }, "F1 in the playlist");
  ui.tabs->setCurrentIndex(3);
  KeepPicture(about, "about.png");
  ui.okButton->click();
  EXPECT_FALSE(about->isVisible());
}

TEST_F(ShellWindowsTest, TheShortcutListHasItsFourteenLines) {
  const struct {
    const char* keys;  // the quoted labels as written
    bool playlistOnly;
    const char* description;
  } expected[] = {
      {R"("-")", false, "Уменьшение громкости"},        {R"("+")", false, "Увелечение громкости"},
      {R"("F1")", false, "Авторы"},                      {R"("F2")", false, "Настройки"},
      {R"("J")", true, "Поиск"},                         {R"("space")", false, "Pause/Play"},
      {R"("left")", false, "-5 секунд"},                 {R"("right")", false, "+5 секунд"},
      {R"("B")", true, "Музыкальная база"},              {R"("I")", true, "База I-net Радио"},
      {R"("insert")", false, "Добавить файл(ы)"},        {R"("insert"+"Shift")", false, "Доб. случайную из МБ"},
      {R"("Del")", true, "Удаление из ПлэйЛиста"},       {R"("Shift+Del")", true, "Удаление из памяти"},
  };
  const QStringList lines = AboutWindow::ShortcutText().split('\n');
  ASSERT_EQ(lines.size(), 14);
  // A key label in quotes (two joined by "+" for one line), "<PL>" for the
  // playlist's own keys, one or two tabs, the description.
  const QRegularExpression form(R"(^("[^"]+"(?:\+"[^"]+")?)( <PL>)?\t{1,2}([^\t]+)$)");
  for (int i = 0; i < 14; ++i) {
    const QRegularExpressionMatch m = form.match(lines[i]);
    ASSERT_TRUE(m.hasMatch()) << lines[i].toStdString();
    EXPECT_EQ(m.captured(1), QString::fromUtf8(expected[i].keys));
    EXPECT_EQ(!m.captured(2).isEmpty(), expected[i].playlistOnly) << lines[i].toStdString();
    EXPECT_EQ(m.captured(3), QString::fromUtf8(expected[i].description));
  }
  home.write("config.ini", "[core]\r\nsplash=0\r\n");
  Start();
  EXPECT_EQ(app.Windows().about->ControlsForTest().shortcutText->toPlainText(), AboutWindow::ShortcutText());
}

}  // namespace
}  // namespace orve::test
