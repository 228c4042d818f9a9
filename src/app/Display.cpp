#include "app/Display.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace orve {
namespace {

constexpr int kW = kSurfaceWidth;
constexpr int kH = kSurfaceHeight;
constexpr int kLowLimit = kH / 5;         // 10: below, the low colour
constexpr int kHighLimit = kH / 5 * 4;    // 40: from here, the high colour
constexpr int kPulseTicks = 217;          // one tick per pixel of the pulse line
constexpr int kLettersEnd = 350;          // the last tick of letters and address

// The animation's faces: "Calibri" at 10 and 16 points (13 and 21 pixels
// at the 96 dots per inch the sizes were chosen for), bold.
QFont IdleFont(int pixels) {
  QFont font(QStringLiteral("Calibri"));
  font.setPixelSize(pixels);
  font.setBold(true);
  return font;
}

// The pulse line's height at x: flat at 26, a spike down then up at four places.
int Pulse(int x) {
  for (int spike : {42, 85, 128, 171}) {
    if (x == spike) return 39;
    if (x == spike + 1) return 13;
  }
  return 26;
}

void Text(QPainter& painter, int x, int y, const QString& text) {
  painter.drawText(QRect(x, y, kW, kH), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

}  // namespace

int BarHeight(float magnitude) {
  const double h = std::trunc(std::fabs(static_cast<double>(magnitude)) * 500.0);
  return static_cast<int>(std::min<double>(h, kH));
}

QColor BarColour(int h, const DisplayColours& colours) {
  if (h < kLowLimit) return colours.low;
  return h < kHighLimit ? colours.line : colours.high;
}

int WaveHeight(int16_t left, int16_t right) {
  return static_cast<int>(std::trunc((static_cast<double>(left) + right) / 131070.0 * 50.0)) + 25;
}

void ClearSurface(QPainter& painter, const DisplayColours& colours) {
  painter.fillRect(QRect(0, 0, kW, kH), colours.background);
}

void DrawSpectrumLines(QPainter& painter, const float* magnitudes, const DisplayColours& colours) {
  ClearSurface(painter, colours);
  for (int i = 0; i < kW; ++i) {
    const int h = BarHeight(magnitudes[i]);
    if (h > 0) painter.fillRect(QRect(i, kH - h, 1, h), BarColour(h, colours));
  }
}

void DrawSpectrumBars(QPainter& painter, const float* magnitudes, const DisplayColours& colours) {
  ClearSurface(painter, colours);
  for (int i = 0; i < 72; ++i) {
    const int h = BarHeight(magnitudes[2 * i]);
    if (h > 0) painter.fillRect(QRect(3 * i, kH - h, 2, h), BarColour(h, colours));
  }
}

void DrawWave(QPainter& painter, int mode, const int16_t* frames, const DisplayColours& colours) {
  ClearSurface(painter, colours);
  std::array<QPoint, kW> points;
  for (int i = 0; i < kW; ++i) points[static_cast<size_t>(i)] = QPoint(i, WaveHeight(frames[2 * i], frames[2 * i + 1]));
  painter.setPen(colours.line);
  switch (mode) {
    case 2:
      painter.drawPolyline(points.data(), kW);
      break;
    case 3:
      // From the top down to the wave, the wave's own pixel left out.
      for (int i = 1; i < kW; ++i) painter.fillRect(QRect(i, 0, 1, std::max(0, points[static_cast<size_t>(i)].y())), colours.line);
      break;
    case 4:
      painter.drawPoints(points.data() + 1, kW - 1);
      break;
    default:
      break;
  }
}

void DrawEqualizerCurve(QPainter& painter, const std::array<int, 16>& positions, const DisplayColours& colours) {
  ClearSurface(painter, colours);
  std::array<QPoint, 16> points;
  for (size_t k = 0; k < points.size(); ++k) points[k] = QPoint(14 + 13 * static_cast<int>(k), 41 - positions[k]);
  painter.setPen(QPen(colours.line, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  painter.drawPolyline(points.data(), static_cast<int>(points.size()));
}

void IdleAnimationTick(QPainter& painter, int& tick, const QTime& now, const DisplayColours& colours) {
  if (tick == kIdleCycle) tick = 0;
  if (tick == 0) ClearSurface(painter, colours);
  painter.setPen(colours.line);
  painter.setFont(IdleFont(13));
  if (tick < kPulseTicks) {
    painter.drawLine(tick, Pulse(tick), tick + 1, Pulse(tick + 1));
    ++tick;
  } else if (tick <= kLettersEnd) {
    static constexpr std::array<std::pair<int, int>, 4> kLetters{{{217, 40}, {227, 83}, {237, 124}, {247, 169}}};
    static const QString kWord = QStringLiteral("ORVE");
    for (size_t i = 0; i < kLetters.size(); ++i) {
      if (tick == kLetters[i].first) Text(painter, kLetters[i].second, 0, kWord.mid(static_cast<qsizetype>(i), 1));
    }
    const QString address = QString::fromLatin1(kIdleAddress);
    const int index = tick - 248;
    if (index >= 0 && index < address.size()) {
      const int x = 40 + QFontMetrics(painter.font()).horizontalAdvance(address.left(index));
      Text(painter, x, 37, address.mid(index, 1));
    }
    ++tick;
  }
  if (tick > kLettersEnd) {
    ClearSurface(painter, colours);
    painter.setPen(colours.line);
    painter.setFont(IdleFont(21));
    Text(painter, 10, 0, Greeting(now.hour()));
    Text(painter, 10, 26, LongTimeText(now));
    ++tick;
  }
}

QString Greeting(int hour) {
  if (hour > 6 && hour <= 12) return QStringLiteral("Доброе утро.");
  if (hour > 12 && hour <= 18) return QStringLiteral("Добрый день.");
  if (hour > 18) return QStringLiteral("Добрый вечер.");
  return QStringLiteral("Доброй ночи.");
}

QString LongTimeText(const QTime& time) {
  QString format = QLocale::system().timeFormat(QLocale::LongFormat);
  format.remove(QLatin1Char('t'));
  return QLocale::system().toString(time, format.trimmed());
}

bool TimeDisplayBlinks(bool playing, int secondsLeft, bool atRest) { return playing && secondsLeft < 11 && !atRest; }

QString ScrollTitle(const QString& text, int& position) {
  const auto length = std::max<qsizetype>(text.size(), 3);
  const qsizetype p = ++position;
  if (p == 2 * length) {
    position = 0;
    return {};
  }
  return p <= length ? text.left(p) : text.mid(p - length - 1);
}

}  // namespace orve
