#include "app/AboutWindow.h"

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Application.h"
#include "app/Artwork.h"
#include "appearance/ColourScheme.h"
#include "widgets/GlassButton.h"
#include "widgets/ScreenPlacement.h"
#include "widgets/SkinColours.h"
#include "widgets/SkinnedWindow.h"

namespace orve {
namespace {

// The first tab: the program's picture, 312 x 300, in the scheme's colours.
class PictureTab : public QWidget {
 public:
  explicit PictureTab(QWidget* parent) : QWidget(parent) {}
  void SetColours(const QColor& accent, const QColor& glow) {
    accent_ = accent;
    glow_ = glow;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect box(QPoint((width() - 312) / 2, (height() - 300) / 2), QSize(312, 300));
    DrawArtwork(painter, box, QString::fromLatin1(kAppTitle), accent_, glow_);
  }

 private:
  QColor accent_ = ArtworkAccent();
  QColor glow_ = ArtworkGlow();
};

QPlainTextEdit* ReadOnlyText(const QString& text, QWidget* parent) {
  auto* edit = new QPlainTextEdit(text, parent);
  edit->setReadOnly(true);
  edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  return edit;
}

}  // namespace

QString AboutWindow::ShortcutText() {
  return QStringLiteral(
      "\"-\"\t\tУменьшение громкости\n"
      "\"+\"\t\tУвелечение громкости\n"
      "\"F1\"\t\tАвторы\n"
      "\"F2\"\t\tНастройки\n"
      "\"J\" <PL>\t\tПоиск\n"
      "\"space\"\t\tPause/Play\n"
      "\"left\"\t\t-5 секунд\n"
      "\"right\"\t\t+5 секунд\n"
      "\"B\" <PL>\t\tМузыкальная база\n"
      "\"I\" <PL>\t\tБаза I-net Радио\n"
      "\"insert\"\t\tДобавить файл(ы)\n"
      "\"insert\"+\"Shift\"\tДоб. случайную из МБ\n"
      "\"Del\" <PL>\t\tУдаление из ПлэйЛиста\n"
      "\"Shift+Del\" <PL>\tУдаление из памяти");
}

QString AboutWindow::VersionHistory() {
  // One version so far; each later one goes on top, above a line of dashes.
  return QStringLiteral(
      "ORVE 1.9\n"
      "+ окна прилипают к главному окну, к краям рабочей области и не теряются за краем экрана\n"
      "+ окно прозрачности, окно «сейчас играет» у значка в трее, заставка, это окно\n"
      "+ дисплей: спектр, волна, кривая эквалайзера, приветствие и часы\n"
      "+ музыкальная база и база интернет-радио\n"
      "+ окно настроек с параметрами эффектов, буфера, прокси и кодировщиков\n"
      "+ интернет-радио по HTTP и HTTPS с названиями песен и переподключением\n"
      "+ плэйлист: добавление в фоне, Default.pld, M3U, поиск, перетаскивание\n"
      "+ 16-полосный эквалайзер и семь эффектов без щелчков при движении ползунков\n"
      "+ MP3, MP2, MP1, WAV, OGG, AIFF, AAC, MP4, WMA, а также M4A, Opus и FLAC через FFmpeg\n"
      "+ цветовые схемы\n"
      "--------------------------------------------");
}

AboutWindow::AboutWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("aboutWindow"));
  setWindowTitle(QStringLiteral("Об Авторах"));
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(kWidth, kHeight);
  setFont(SkinFont());
  tabs_ = new QTabWidget(this);
  tabs_->setGeometry(8, 8, 360, 328);
  pictureTab_ = new PictureTab(tabs_);
  tabs_->addTab(pictureTab_, QStringLiteral("ORVE"));
  creditsLabel_ = new QLabel(tabs_);
  creditsLabel_->setWordWrap(true);
  creditsLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  creditsLabel_->setMargin(10);
  creditsLabel_->setOpenExternalLinks(true);
  creditsLabel_->setTextFormat(Qt::RichText);
  const QString address = QString::fromLatin1(kProjectAddress);
  creditsLabel_->setText(QStringLiteral("<p><b>ORVE</b>, версия %1</p>"
                                        "<p>Авторы: разработчики проекта ORVE.</p>"
                                        "<p>Сайт проекта: <a href=\"%2\">%2</a></p>"
                                        "<p>Вопросы и предложения — в задачах проекта на его сайте.</p>"
                                        "<p>Плеер для одного слушателя: файлы и интернет-радио, эквалайзер и "
                                        "эффекты, музыкальная база. Свободные библиотеки: Qt, FFmpeg, TagLib, "
                                        "PortAudio, libcdio.</p>")
                             .arg(QString::fromLatin1(kAppVersion), address));
  tabs_->addTab(creditsLabel_, QStringLiteral("Автор"));
  versionText_ = ReadOnlyText(VersionHistory(), tabs_);
  tabs_->addTab(versionText_, QStringLiteral("Версия"));
  shortcutText_ = ReadOnlyText(ShortcutText(), tabs_);
  shortcutText_->setTabStopDistance(56);
  tabs_->addTab(shortcutText_, QStringLiteral("Горячие клавиши"));
  okButton_ = CreateSkinButton(QStringLiteral("Ok"), QRect(327, 339, 38, 20), this);
  connect(okButton_, &QAbstractButton::clicked, this, &QWidget::hide);
  CloseOnEscape(this);
}

void AboutWindow::ApplyScheme(const ColourScheme& scheme) {
  using R = ColourRole;
  SetBackground(this, scheme.Colour(R::ButtonText));
  SetBackground(tabs_, scheme.Colour(R::ButtonText));
  QPalette tabPalette = tabs_->palette();
  tabPalette.setColor(QPalette::Highlight, scheme.Colour(R::Highlight));
  tabs_->setPalette(tabPalette);
  SetTextColour(creditsLabel_, scheme.Colour(R::LabelText));
  PaintGlassButton(okButton_, scheme.Colour(R::ButtonText), scheme.Colour(R::ButtonFace),
                   scheme.Colour(R::ButtonGlow));
  static_cast<PictureTab*>(pictureTab_)->SetColours(scheme.Colour(R::ButtonFace), scheme.Colour(R::Highlight));
}

void AboutWindow::Open() {
  move(CentredOnPrimary(size()));
  tabs_->setCurrentIndex(0);
  show();
  raise();
  activateWindow();
}

}  // namespace orve
