#include "playlist/InfoWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "session/AppState.h"
#include "settings/FileNames.h"
#include "widgets/GlassButton.h"
#include "widgets/SkinColours.h"
#include "widgets/SkinnedWindow.h"

namespace orve {
namespace {

constexpr int kLeft = 8;
constexpr int kFieldWidth = InfoWindow::kWidth - 2 * kLeft;
constexpr int kHalfWidth = (kFieldWidth - 6) / 2;
constexpr int kLabelHeight = 14;
constexpr int kEditHeight = 20;
constexpr int kRowPitch = 36;  // label, edit and the gap to the next label

// Edit text starts at its beginning, so a long path shows its root.
void SetFieldText(QLineEdit* edit, const QString& text) {
  edit->setText(text);
  edit->setCursorPosition(0);
}

}  // namespace

InfoWindow::InfoWindow(AppState& state, QWidget* parent) : QWidget(parent, Qt::Dialog), state_(state) {
  setObjectName(QStringLiteral("infoWindow"));
  setWindowTitle(QStringLiteral("Информация"));
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(kWidth, kHeight);
  QFont f = font();
  f.setPixelSize(12);
  setFont(f);
  const auto row = [](int k) { return 6 + kRowPitch * k; };
  pathEdit_ = Field(QStringLiteral("Путь:"), {kLeft, row(0), kFieldWidth, 0});
  artistEdit_ = Field(QStringLiteral("Исполнитель:"), {kLeft, row(1), kFieldWidth, 0});
  titleEdit_ = Field(QStringLiteral("Песня:"), {kLeft, row(2), kFieldWidth, 0});
  albumEdit_ = Field(QStringLiteral("Альбом"), {kLeft, row(3), kFieldWidth, 0});
  genreEdit_ = Field(QStringLiteral("Жанр"), {kLeft, row(4), kFieldWidth, 0});
  yearEdit_ = Field(QStringLiteral("Год"), {kLeft, row(5), kHalfWidth, 0});
  trackEdit_ = Field(QStringLiteral("Дорожка"), {kLeft + kFieldWidth - kHalfWidth, row(5), kHalfWidth, 0});
  auto* commentLabel = new QLabel(QStringLiteral("Комментарии"), this);
  commentLabel->setGeometry(kLeft, row(6), kFieldWidth, kLabelHeight);
  commentEdit_ = new QPlainTextEdit(this);
  commentEdit_->setReadOnly(true);
  commentEdit_->setGeometry(kLeft, row(6) + kLabelHeight, kFieldWidth, 50);
  okButton_ = new GlassButton(QStringLiteral("Ok"), this);
  okButton_->setGeometry((kWidth - 75) / 2, kHeight - 30, 75, 22);
  connect(okButton_, &QAbstractButton::clicked, this, &QWidget::close);
  CloseOnEscape(this);
  ApplyScheme();
}

// A label with its read-only edit under it; `place` gives the left, top and width.
QLineEdit* InfoWindow::Field(const QString& label, const QRect& place) {
  auto* caption = new QLabel(label, this);
  caption->setGeometry(place.x(), place.y(), place.width(), kLabelHeight);
  auto* edit = new QLineEdit(this);
  edit->setReadOnly(true);
  edit->setGeometry(place.x(), place.y() + kLabelHeight, place.width(), kEditHeight);
  return edit;
}

void InfoWindow::ShowFor(const QString& path) {
  ClearTags();
  SetFieldText(pathEdit_, DisplayFileName(path));
  ReadTags(path);
  setWindowModality(Qt::ApplicationModal);
  show();
  activateWindow();
}

void InfoWindow::ClearTags() {
  for (QLineEdit* e : {artistEdit_, titleEdit_, albumEdit_, genreEdit_, yearEdit_, trackEdit_}) e->clear();
  commentEdit_->clear();
}

// Only a local file is opened: the decoder would follow an address onto the
// network, and this runs on the UI thread. What does not open (an address, a
// file that does not decode) leaves the tag fields empty, which is the
// answer the window gives for it.
void InfoWindow::ReadTags(const QString& path) {
  audio::Library* library = state_.Engine->Library();
  if (library == nullptr || !IsRegularFile(path)) return;
  const audio::Handle h = library->OpenDecoder(EncodeFileName(path).toStdString());
  if (h == audio::kNoHandle) return;
  const audio::Tags tags = library->GetTags(h);
  library->Free(h);
  SetFieldText(artistEdit_, QString::fromStdString(tags.artist));
  SetFieldText(titleEdit_, QString::fromStdString(tags.title));
  SetFieldText(albumEdit_, QString::fromStdString(tags.album));
  SetFieldText(genreEdit_, QString::fromStdString(tags.genre));
  SetFieldText(yearEdit_, QString::fromStdString(tags.year));
  SetFieldText(trackEdit_, QString::fromStdString(tags.track));
  commentEdit_->setPlainText(QString::fromStdString(tags.comment));
}

InfoWindow::Controls InfoWindow::ControlsForTest() const {
  return {pathEdit_, artistEdit_, titleEdit_, albumEdit_, genreEdit_, yearEdit_, trackEdit_, commentEdit_, okButton_};
}

void InfoWindow::ApplyScheme() {
  const QColor background = state_.Scheme.Colour(ColourRole::ButtonText);
  SetBackground(this, background);
  okButton_->SetFontColour(background);
}

}  // namespace orve
