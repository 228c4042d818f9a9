// The display area's pictures, drawn on an image as the surface draws them:
// the bar heights and colours, silence in every mode, the equalizer curve,
// the idle animation's frames, the greeting, the blink and the title; then
// the real main window playing a 1 kHz sine.
#include <QImage>
#include <QPainter>

#include "PlaylistFixture.h"
#include "app/Display.h"
#include "settings/IniFile.h"
#include "widgets/DrawingSurface.h"

namespace orve::test {
namespace {

const DisplayColours kColours{QColor(0, 0, 0), QColor(0, 200, 255), QColor(40, 80, 160), QColor(255, 255, 255)};

// A fresh surface-sized image.
QImage Surface() {
  QImage image(kSurfaceWidth, kSurfaceHeight, QImage::Format_RGB32);
  image.fill(Qt::red);  // anything not drawn over shows
  return image;
}

// The rows of column x that hold `colour`.
QList<int> RowsOf(const QImage& image, int x, const QColor& colour) {
  QList<int> rows;
  for (int y = 0; y < image.height(); ++y) {
    if (image.pixelColor(x, y) == colour) rows << y;
  }
  return rows;
}

int Count(const QImage& image, const QColor& colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour ? 1 : 0;
  }
  return n;
}

TEST(Display, BarHeightsAndColours) {
  struct Case {
    float magnitude;
    int height;
    QColor colour;
  };
  for (const Case& c : {Case{0.0859375f, 42, kColours.high}, Case{0.078125f, 39, kColours.line},
                        Case{0.0234375f, 11, kColours.line}, Case{0.01953125f, 9, kColours.low},
                        Case{0.5f, 53, kColours.high}, Case{-0.05f, 25, kColours.line}, Case{0.0f, 0, kColours.low}}) {
    EXPECT_EQ(BarHeight(c.magnitude), c.height) << c.magnitude;
    EXPECT_EQ(BarColour(c.height, kColours), c.colour) << c.magnitude;
  }
  // Drawn: column 5 of mode 0 is 42 pixels of the high colour from the bottom.
  std::array<float, 512> magnitudes{};
  magnitudes[5] = 0.0859375f;
  magnitudes[20] = 0.0234375f;  // mode 1 takes every second value: bar 10
  QImage lines = Surface();
  {
    QPainter p(&lines);
    DrawSpectrumLines(p, magnitudes.data(), kColours);
  }
  EXPECT_EQ(RowsOf(lines, 5, kColours.high).size(), 42);
  EXPECT_EQ(RowsOf(lines, 5, kColours.high).first(), 53 - 42);
  QImage bars = Surface();
  {
    QPainter p(&bars);
    DrawSpectrumBars(p, magnitudes.data(), kColours);
  }
  for (int x : {30, 31}) EXPECT_EQ(RowsOf(bars, x, kColours.line).size(), 11) << x;
  EXPECT_EQ(RowsOf(bars, 32, kColours.line).size(), 0);  // the gap
  EXPECT_EQ(Count(bars, kColours.line), 22);
}

TEST(Display, SilenceInEveryMode) {
  const std::array<float, 512> quiet{};
  const std::array<int16_t, 1024> silent{};
  for (int mode = 0; mode < kVisModes; ++mode) {
    SCOPED_TRACE(mode);
    QImage image = Surface();
    {
      QPainter p(&image);
      if (mode == 0) DrawSpectrumLines(p, quiet.data(), kColours);
      if (mode == 1) DrawSpectrumBars(p, quiet.data(), kColours);
      if (mode >= 2) DrawWave(p, mode, silent.data(), kColours);
    }
    const int drawn = kSurfaceWidth * kSurfaceHeight - Count(image, kColours.background);
    EXPECT_EQ(Count(image, Qt::red), 0);  // every pixel is cleared or drawn
    if (mode <= 1) {
      EXPECT_EQ(drawn, 0);
    }
    if (mode == 2) {
      EXPECT_EQ(drawn, kSurfaceWidth);
      for (int x : {0, 100, 215}) EXPECT_EQ(RowsOf(image, x, kColours.line), QList<int>({25})) << x;
    }
    if (mode == 3) {
      EXPECT_EQ(drawn, 215 * 25);  // from the top down to 25, from column 1
      EXPECT_EQ(RowsOf(image, 1, kColours.line).last(), 24);
    }
    if (mode == 4) {
      EXPECT_EQ(drawn, 215);
      EXPECT_EQ(RowsOf(image, 215, kColours.line), QList<int>({25}));
    }
  }
  // Full scale: the wave reaches the edges.
  EXPECT_EQ(WaveHeight(32767, 32767), 49);
  EXPECT_EQ(WaveHeight(-32768, -32768), 0);
}

TEST(Display, TheEqualizerCurveFollowsTheBands) {
  std::array<int, 16> flat;
  flat.fill(15);
  QImage image = Surface();
  {
    QPainter p(&image);
    DrawEqualizerCurve(p, flat, kColours);
  }
  for (int x : {14, 100, 208}) EXPECT_TRUE(RowsOf(image, x, kColours.line).contains(26)) << x;
  for (int x : {13, 210}) EXPECT_TRUE(RowsOf(image, x, kColours.line).isEmpty()) << x;
  std::array<int, 16> raised = flat;
  raised[0] = 30;  // 100 Hz at +15 dB: the curve starts at y = 11
  raised[15] = 0;  // 16 kHz at -15 dB: it ends at y = 41
  {
    QPainter p(&image);
    DrawEqualizerCurve(p, raised, kColours);
  }
  EXPECT_TRUE(RowsOf(image, 14, kColours.line).contains(11));
  const QList<int> end = RowsOf(image, 208, kColours.line);
  ASSERT_FALSE(end.isEmpty());
  EXPECT_GE(end.last(), 40);
}

// The idle animation over its 700 ticks, at a fixed clock.
TEST(Display, IdleAnimationFrames) {
  const QTime seven(7, 0, 0);
  QImage image = Surface();
  int tick = 0;
  const auto runTo = [&](int last) {
    QPainter p(&image);
    while (tick <= last) IdleAnimationTick(p, tick, seven, kColours);
  };
  runTo(0);
  EXPECT_EQ(tick, 1);
  EXPECT_EQ(Count(image, Qt::red), 0);  // cleared at tick 0
  EXPECT_TRUE(RowsOf(image, 0, kColours.line).contains(26));
  runTo(42);
  EXPECT_TRUE(RowsOf(image, 42, kColours.line).contains(39));  // the first spike
  EXPECT_TRUE(RowsOf(image, 100, kColours.line).isEmpty());    // not drawn yet
  runTo(216);
  for (int x : {43, 86, 129, 172}) EXPECT_TRUE(RowsOf(image, x, kColours.line).contains(13)) << x;
  const int pulse = Count(image, kColours.line);
  runTo(217);  // "O" above the first spike
  EXPECT_GT(Count(image.copy(38, 0, 14, 14), kColours.line), 0);
  EXPECT_GT(Count(image, kColours.line), pulse);
  runTo(266);  // the address, to its last character
  EXPECT_GT(Count(image.copy(40, 37, 176, 16), kColours.line), 0);
  runTo(351);  // the greeting and the clock on a cleared surface
  EXPECT_EQ(tick, 352);  // tick 350 ends the letters and draws the greeting at once
  EXPECT_TRUE(RowsOf(image, 0, kColours.line).isEmpty());
  EXPECT_GT(Count(image.copy(10, 0, 200, 26), kColours.line), 0);
  EXPECT_GT(Count(image.copy(10, 26, 200, 27), kColours.line), 0);
  QImage greeting = image;
  runTo(699);
  EXPECT_EQ(image, greeting);  // the same clock, the same picture
  EXPECT_EQ(tick, 700);
  {
    QPainter p(&image);
    IdleAnimationTick(p, tick, seven, kColours);  // tick 700: the cycle starts again
  }
  EXPECT_EQ(tick, 1);
  EXPECT_TRUE(RowsOf(image, 0, kColours.line).contains(26));
  EXPECT_TRUE(RowsOf(image, 20, kColours.line).isEmpty());
}

TEST(Display, GreetingByTheHour) {
  const std::vector<std::pair<int, QString>> hours{
      {0, "Доброй ночи."},  {6, "Доброй ночи."},  {7, "Доброе утро."},  {12, "Доброе утро."},
      {13, "Добрый день."}, {18, "Добрый день."}, {19, "Добрый вечер."}, {23, "Добрый вечер."}};
  for (const auto& [hour, text] : hours) EXPECT_EQ(Greeting(hour), text) << hour;
  // The clock: hours, minutes and seconds, no zone.
  const QString clock = LongTimeText(QTime(6, 59, 58));
  EXPECT_TRUE(clock.contains("59")) << clock.toStdString();
  EXPECT_TRUE(clock.contains("58")) << clock.toStdString();
}

TEST(Display, TheTimeBlinksInTheLastTenSeconds) {
  EXPECT_TRUE(TimeDisplayBlinks(true, 10, false));
  EXPECT_TRUE(TimeDisplayBlinks(true, 0, false));
  EXPECT_FALSE(TimeDisplayBlinks(true, 11, false));
  EXPECT_FALSE(TimeDisplayBlinks(false, 5, false));  // paused
  EXPECT_FALSE(TimeDisplayBlinks(true, 5, true));    // "0:00/0:00"
}

TEST(Display, TheTitleScrolls) {
  int position = 0;
  QStringList seen;
  for (int i = 0; i < 7; ++i) seen << ScrollTitle(" - ", position);
  EXPECT_EQ(seen, QStringList({" ", " -", " - ", " - ", "- ", "", " "}));
  position = 0;
  const QString title = "Кино - Звезда";  // 13 characters
  seen.clear();
  for (int i = 0; i < 26; ++i) seen << ScrollTitle(title, position);
  EXPECT_EQ(seen[0], "К");
  EXPECT_EQ(seen[12], title);
  EXPECT_EQ(seen[13], title);
  EXPECT_EQ(seen[14], "ино - Звезда");
  EXPECT_EQ(seen[24], "да");
  EXPECT_EQ(seen[25], "");
  EXPECT_EQ(position, 0);
}

class DisplayRunTest : public PlaylistFixture {
 protected:
  // The column holding the most of the high colour.
  static int TallestColumn(const QImage& image, const QColor& colour) {
    int best = -1, most = 0;
    for (int x = 0; x < image.width(); ++x) {
      const int n = static_cast<int>(RowsOf(image, x, colour).size());
      if (n > most) most = n, best = x;
    }
    return best;
  }
  QImage Picture() const { return mainUi().visualisationSurface->Canvas().copy(); }
};

// A full-scale 1 kHz sine playing: its peak in the column the mode's
// mapping predicts, at full height in the high colour.
TEST_F(DisplayRunTest, ASinePlayingPeaksWhereTheMappingSays) {
  const QString sine = home.write("sine.wav", SineWav(20, 1000));
  Start({sine});
  main->show();
  ASSERT_EQ(engine->PlayState, kPlaying);
  const double rate = engine->Library()->OutputRate();
  const QColor high = app.State().Scheme.Colour(ColourRole::SpectrumTop);
  app.State().VisMode = 0;
  QTest::qWait(300);
  // 512 magnitudes of 1024 points: column k is k * rate / 1024 Hz.
  EXPECT_NEAR(TallestColumn(Picture(), high), 1000 * 1024 / rate, 1.0);
  app.State().VisMode = 1;
  QTest::qWait(300);
  // Bar i is magnitude 2i of 256 from 512 points, at x = 3i.
  EXPECT_NEAR(TallestColumn(Picture(), high) / 3, 1000 * 512 / rate / 2, 1.0);
  app.State().VisMode = 2;
  QTest::qWait(300);
  const QColor line = app.State().Scheme.Colour(ColourRole::Visualisation);
  EXPECT_GT(Count(Picture(), line), kSurfaceWidth);  // a wave, not a flat line
}

TEST_F(DisplayRunTest, DoubleClicksCycleTheModesAndTheModeIsKept) {
  Start();
  app.State().VisMode = 3;
  for (int i = 0; i < 5; ++i) QTest::mouseDClick(mainUi().visualisationSurface, Qt::LeftButton);
  EXPECT_EQ(app.State().VisMode, 3);
  QTest::mouseDClick(mainUi().visualisationSurface, Qt::LeftButton);
  EXPECT_EQ(app.State().VisMode, 4);
  QTest::mouseDClick(mainUi().visualisationSurface, Qt::LeftButton);
  EXPECT_EQ(app.State().VisMode, 0);
  End();
  EXPECT_EQ(IniFile(home.file("config.ini")).Read(config::vis::kMode), 0);
}

// Idle, the surface greets and keeps count; playing, the counter rests;
// the window title scrolls the now-playing text.
TEST_F(DisplayRunTest, IdleAnimationAndTitleRun) {
  Start();
  main->show();
  ASSERT_TRUE(WaitUntil([&] { return app.State().LogoTick > 5; }, 5000));
  ASSERT_TRUE(WaitUntil([&] { return main->windowTitle() == " - "; }, 5000));
  const QString sine = home.write("sine.wav", SineWav(20, 1000));
  Add({sine});
  StartRow(0);
  ASSERT_TRUE(WaitUntil([&] { return app.State().LogoTick == 0; }, 5000));
  EXPECT_EQ(app.State().TitleScrollPos < 3, true);  // a new entry starts its title afresh
  // Playing, only the visualisation's timer wakes the display; stopped,
  // the idle animation comes back from its first tick.
  EXPECT_TRUE(mainUi().visualisationTimer->isActive());
  EXPECT_FALSE(mainUi().idleTimer->isActive());
  engine->Stop();
  EXPECT_TRUE(mainUi().idleTimer->isActive());
  ASSERT_TRUE(WaitUntil([&] { return app.State().LogoTick > 5; }, 5000));
}

}  // namespace
}  // namespace orve::test
