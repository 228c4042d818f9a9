// Builds mock-ups of the main, playlist and equalizer windows from the widget
// set in the colours of the bundled "blue" scheme and writes them as PNG
// files at scale 1 and 2, for judging the look by eye:
//   widgets_gallery OUTPUT_FOLDER [SCHEME_FILE]
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <cstdio>
#include <vector>

#include "widgets/ClickLabel.h"
#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"
#include "widgets/MarkupListBox.h"
#include "widgets/MenuStyle.h"
#include "widgets/ProgressBar.h"
#include "widgets/TrackBar.h"

using namespace orve;

namespace {

// The colours of a scheme, index by index: "blue" unless a scheme file is given.
QColor C[14] = {QColor(0x0B1830), QColor(0x5CC8FF), QColor(0xDCE8F6), QColor(0x9FB8D6),
                      QColor(0x1D4A85), QColor(0x12284A), QColor(0x2C64A6), QColor(0x86D8FF),
                      QColor(0xCDEFFF), QColor(0x62AEEA), QColor(0x3F90DD), QColor(0x0B1830),
                      QColor(0x0B1830), QColor(0xD6E4F5)};

// Reads the first six hexadecimal digits of the first 14 lines of a scheme
// file; false when the file is unreadable or short.
bool LoadScheme(const QString& name) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
  const QStringList lines = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'));
  if (lines.size() < 14) return false;
  for (int i = 0; i < 14; ++i) C[i] = QColor::fromString(QLatin1Char('#') + lines[i].trimmed().left(6));
  return true;
}

void Window(QWidget& w, int width, int height) {
  w.resize(width, height);
  QPalette p = w.palette();
  p.setColor(QPalette::Window, C[5]);
  w.setPalette(p);
  w.setAutoFillBackground(true);
}

GlassButton* Button(QWidget* parent, QRect geometry, const QString& caption, int radius = 0,
                    GlassButton::Symbol symbol = GlassButton::Symbol::None) {
  auto* b = new GlassButton(caption, parent);
  b->setGeometry(geometry);
  b->SetCornerRadius(radius);
  b->SetSymbol(symbol);
  b->SetFontColour(C[2]);
  b->SetFaceColour(C[6]);
  b->SetInnerBorderColour(C[6]);
  b->SetGlowColour(C[7]);
  QFont f(QStringLiteral("Carlito"));
  f.setPixelSize(11);
  f.setBold(true);
  b->setFont(f);
  return b;
}

GradientBackground* Strip(QWidget* parent, QRect geometry, QColor frame, QColor start, QColor end) {
  auto* g = new GradientBackground(parent);
  g->setGeometry(geometry);
  g->SetFrameColour(frame);
  g->SetGradientStart(start);
  g->SetGradientEnd(end);
  return g;
}

QLabel* Label(QWidget* parent, QRect geometry, const QString& text, QColor colour, int pixels = 13,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* l = new ClickLabel(text, parent);
  l->setGeometry(geometry);
  QPalette p = l->palette();
  p.setColor(QPalette::WindowText, colour);
  l->setPalette(p);
  QFont f = l->font();
  f.setPixelSize(pixels);
  f.setBold(true);
  l->setFont(f);
  l->setAlignment(align);
  return l;
}

// Buttons shown as if the pointer were over them; the enter events are sent
// after the windows are shown, since showing a window resets hovering.
std::vector<GlassButton*> hovered;

void Hover(GlassButton* b) { hovered.push_back(b); }

void SendHovers() {
  for (GlassButton* b : hovered) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(b, &enter);
  }
}

void BuildMain(QWidget& w) {
  Window(w, 304, 150);
  Strip(&w, {3, 0, 298, 16}, C[4], C[4], C[1]);
  Label(&w, {25, 0, 238, 13}, " ORVE 1.9", C[3], 11, Qt::AlignCenter);
  Button(&w, {3, 0, 16, 16}, {}, 0, GlassButton::Symbol::Speaker);
  Button(&w, {269, 0, 16, 16}, "-");
  Button(&w, {285, 0, 16, 16}, "X");
  Button(&w, {3, 19, 25, 15}, {}, 7, GlassButton::Symbol::Play)->SetFontColour(C[1]);
  Hover(Button(&w, {3, 39, 25, 15}, {}, 7, GlassButton::Symbol::Pause));
  Button(&w, {3, 59, 25, 15}, {}, 7, GlassButton::Symbol::Stop)->setDown(true);
  Button(&w, {3, 79, 25, 15}, {}, 7, GlassButton::Symbol::ArrowUp);
  Button(&w, {255, 19, 45, 15}, "ПовВык", 7);
  Hover(Button(&w, {255, 39, 45, 15}, "ЭквВкл", 7));
  Button(&w, {255, 59, 45, 15}, "Пл Вкл", 7);
  Button(&w, {255, 79, 45, 15}, "ДД Вык", 7);
  Button(&w, {269, 99, 17, 15}, "?");
  auto* panel = new QWidget(&w);
  panel->setGeometry(34, 19, 215, 106);
  QPalette p = panel->palette();
  p.setColor(QPalette::Window, C[0]);
  panel->setPalette(p);
  panel->setAutoFillBackground(true);
  Label(panel, {6, 59, 62, 15}, "128 kbps", C[1]);
  Label(panel, {6, 74, 62, 15}, "Грм:80%", C[1]);
  Label(panel, {6, 91, 62, 15}, "1:23/4:56", C[1]);
  Label(panel, {87, 59, 62, 15}, "ПовВык", C[1]);
  Label(panel, {87, 74, 74, 15}, "Эквалайзер", C[1]);
  Label(panel, {87, 89, 62, 15}, "Плэйлист", C[1]);
  Label(panel, {160, 89, 52, 15}, "Дин.Доб.", C[0]);
  auto* seek = new TrackBar(Qt::Horizontal, &w);
  seek->setGeometry(0, 131, 304, 16);
  seek->setRange(0, 296);
  seek->setValue(83);
  seek->SetTrackColour(C[3]);
  seek->SetThumbColour(C[9]);
  seek->SetThumbOutlineColour(C[9]);
  seek->SetThumbSize(10, 56);
}

void BuildPlaylist(QWidget& w) {
  Window(w, 304, 196);
  Strip(&w, {0, 16, 304, 180}, C[2], C[2], C[4]);
  Strip(&w, {0, 0, 304, 16}, C[4], C[4], C[2]);
  Label(&w, {0, 0, 304, 15}, "Плэйлист", C[3], 11, Qt::AlignCenter);
  Button(&w, {285, 0, 16, 16}, "X");
  Button(&w, {8, 19, 32, 15}, "Доб", 7);
  Button(&w, {40, 19, 32, 15}, "Удл", 7);
  Button(&w, {72, 19, 32, 15}, "Плс", 7);
  Label(&w, {129, 19, 167, 15}, "25:41/3:05", C[1], 12, Qt::AlignRight | Qt::AlignVCenter);
  auto* list = new MarkupListBox(&w);
  list->setGeometry(8, 40, 288, 148);
  QFont f = list->font();
  f.setPixelSize(11);
  list->setFont(f);
  list->SetBackgroundColour(C[0]);
  list->SetSelectionBorderColour(C[2]);
  list->SetSelectionStartColour(C[2]);
  list->SetSelectionEndColour(C[6]);
  list->SetSelectionTextColour(C[13]);
  const char* titles[] = {"Artist - Opening", "Band <Live> - Second Song", "Третий исполнитель - Песня",
                          "A very long artist name - with an even longer title that will not fit at all",
                          "Track 05", "x.", "http://radio.example:8000/stream"};
  for (int i = 0; i < 40; ++i) {
    const QString colour = i == 2 ? "5CC8FF" : "D6E4F5";
    list->AddItem(QStringLiteral("<FONT color=\"#%1\"><B>%2<BR>%3:%4</B></FONT>")
                      .arg(colour, QString::fromUtf8(titles[i % 7]))
                      .arg(2 + i % 4)
                      .arg(i * 7 % 60, 2, 10, QChar('0')));
  }
  list->SetItemIndex(1);
}

TrackBar* Slider(QWidget* parent, QRect geometry, Qt::Orientation o, int max, int value, int length,
                 int thickness) {
  auto* t = new TrackBar(o, parent);
  t->setGeometry(geometry);
  t->setRange(0, max);
  t->setValue(value);
  t->SetTrackColour(C[3]);
  t->SetThumbColour(C[9]);
  t->SetThumbOutlineColour(C[9]);
  t->SetThumbSize(length, thickness);
  return t;
}

void BuildEqualizer(QWidget& w) {
  Window(w, 304, 150);
  Strip(&w, {0, 16, 304, 134}, C[2], C[2], C[4]);
  Strip(&w, {0, 0, 304, 16}, C[4], C[4], C[1]);
  Label(&w, {0, 0, 304, 15}, "Эквалайзер", C[3], 11, Qt::AlignCenter);
  Button(&w, {285, 0, 16, 16}, "X");
  auto* panel = new QWidget(&w);
  panel->setGeometry(8, 22, 288, 120);
  QPalette p = panel->palette();
  p.setColor(QPalette::Window, C[0]);
  panel->setPalette(p);
  panel->setAutoFillBackground(true);
  Strip(panel, {24, 2, 244, 77}, C[0], C[0], C[2]);
  Label(panel, {2, 2, 24, 12}, "+15", C[3], 9);
  Label(panel, {2, 34, 24, 12}, "0", C[3], 9);
  Label(panel, {2, 66, 24, 12}, "-15", C[3], 9);
  const int rock[16] = {23, 22, 21, 20, 19, 18, 17, 16, 16, 17, 17, 18, 19, 19, 19, 18};
  for (int k = 0; k < 16; ++k) Slider(panel, {28 + 15 * k, 4, 11, 73}, Qt::Vertical, 30, rock[k], 8, 30);
  const char* letters[] = {"Э", "Ф", "X", "К", "Г", "3DВ", "В"};
  for (int k = 0; k < 7; ++k) {
    const bool on = k == 1 || k == 5;
    Label(panel, {4 + 20 * k, 80, 20, 12}, letters[k], on ? C[3] : C[0], 9, Qt::AlignCenter);
    auto* s = Slider(panel, {8 + 20 * k, 93, 12, 25}, Qt::Vertical, 1, on ? 1 : 0, 8, 30);
    s->SetSwitchMode(true);
    s->setValue(on ? 1 : 0);
    s->SetTrackColour(on ? C[1] : C[3]);
  }
  Label(panel, {142, 80, 73, 12}, "Громкость", C[3], 9, Qt::AlignCenter);
  Label(panel, {215, 80, 73, 12}, "SR", C[3], 9, Qt::AlignCenter);
  Slider(panel, {142, 96, 73, 15}, Qt::Horizontal, 100, 80, 10, 28);
  Slider(panel, {215, 96, 70, 15}, Qt::Horizontal, 100000, 44100, 10, 28)->SetTrackColour(C[1]);
  auto* progress = new ProgressBar(panel);
  progress->setGeometry(142, 113, 140, 5);
  progress->SetBackgroundColour(C[5]);
  for (int l = 0; l < 4; ++l) progress->SetLevelColours(l, C[6], C[6]);
  progress->SetValue(60);
}

void BuildMenu(QMenu& menu) {
  QMenu* add = menu.addMenu(QStringLiteral("Добавить"));
  add->addAction(QStringLiteral("Файл(ы)"));
  add->addAction(QStringLiteral("Плейлист"));
  add->addAction(QStringLiteral("URL"));
  for (const char* item : {"Настройки", "Транспарантность", "База I-net радио", "Музыкальная база", "Цветовая схема",
                           "Автор"})
    menu.addAction(QString::fromUtf8(item));
  menu.addSeparator();
  menu.addAction(QStringLiteral("Выход"))->setEnabled(false);
  StyleMenu(&menu, C[0], C[1], C[6], C[2]);
  menu.setActiveAction(menu.actions().at(2));
}

void Save(QWidget& w, const QString& folder, const QString& name) {
  w.ensurePolished();
  for (int scale : {1, 2}) {
    QPixmap pixmap(w.size() * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    w.render(&pixmap);
    const QString file = QDir(folder).filePath(QStringLiteral("%1@%2x.png").arg(name).arg(scale));
    if (!pixmap.save(file)) std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: widgets_gallery OUTPUT_FOLDER [SCHEME_FILE]\n");
    return 2;
  }
  if (argc == 3 && !LoadScheme(QString::fromLocal8Bit(argv[2]))) {
    std::fprintf(stderr, "cannot read the scheme %s\n", argv[2]);
    return 1;
  }
  QWidget main, playlist, equalizer;
  QMenu menu;
  BuildMenu(menu);
  BuildMain(main);
  BuildPlaylist(playlist);
  BuildEqualizer(equalizer);
  for (QWidget* w : {&main, &playlist, &equalizer}) w->show();
  SendHovers();
  Save(main, argv[1], "main");
  Save(playlist, argv[1], "playlist");
  Save(equalizer, argv[1], "equalizer");
  menu.resize(menu.sizeHint());
  Save(menu, argv[1], "menu");
  return 0;
}
