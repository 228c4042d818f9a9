#include "playlist/Unit11.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include "app/AppState.h"
#include "widgets/SkinColours.h"

namespace orve {
namespace {

constexpr int kLeft = 8;
constexpr int kFieldWidth = TForm11::kWidth - 2 * kLeft;
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

TForm11::TForm11(AppState& state, QWidget* parent) : QWidget(parent, Qt::Dialog), state_(state) {
  setObjectName(QStringLiteral("Form11"));
  setWindowTitle(QStringLiteral("Информация"));
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(kWidth, kHeight);
  QFont f = font();
  f.setPixelSize(12);
  setFont(f);
  const auto row = [](int k) { return 6 + kRowPitch * k; };
  Edit8 = Field(QStringLiteral("Путь:"), {kLeft, row(0), kFieldWidth, 0});
  Edit1 = Field(QStringLiteral("Исполнитель:"), {kLeft, row(1), kFieldWidth, 0});
  Edit2 = Field(QStringLiteral("Песня:"), {kLeft, row(2), kFieldWidth, 0});
  Edit3 = Field(QStringLiteral("Альбом"), {kLeft, row(3), kFieldWidth, 0});
  Edit4 = Field(QStringLiteral("Жанр"), {kLeft, row(4), kFieldWidth, 0});
  Edit5 = Field(QStringLiteral("Год"), {kLeft, row(5), kHalfWidth, 0});
  Edit6 = Field(QStringLiteral("Дорожка"), {kLeft + kFieldWidth - kHalfWidth, row(5), kHalfWidth, 0});
  auto* commentLabel = new QLabel(QStringLiteral("Комментарии"), this);
  commentLabel->setGeometry(kLeft, row(6), kFieldWidth, kLabelHeight);
  Edit7 = new QPlainTextEdit(this);
  Edit7->setReadOnly(true);
  Edit7->setGeometry(kLeft, row(6) + kLabelHeight, kFieldWidth, 50);
  AdvGlassButton1 = new GlassButton(QStringLiteral("Ok"), this);
  AdvGlassButton1->setGeometry((kWidth - 75) / 2, kHeight - 30, 75, 22);
  connect(AdvGlassButton1, &QAbstractButton::clicked, this, &QWidget::close);
  ApplyScheme();
}

// A label with its read-only edit under it; `place` gives the left, top and width.
QLineEdit* TForm11::Field(const QString& label, const QRect& place) {
  auto* caption = new QLabel(label, this);
  caption->setGeometry(place.x(), place.y(), place.width(), kLabelHeight);
  auto* edit = new QLineEdit(this);
  edit->setReadOnly(true);
  edit->setGeometry(place.x(), place.y() + kLabelHeight, place.width(), kEditHeight);
  return edit;
}

void TForm11::ShowFor(const QString& path) {
  ClearTags();
  SetFieldText(Edit8, path);
  ReadTags(path);
  setWindowModality(Qt::ApplicationModal);
  show();
  activateWindow();
}

void TForm11::ClearTags() {
  for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6}) e->clear();
  Edit7->clear();
}

// Only a local file is opened: the decoder would follow an address onto the
// network, and this runs on the UI thread. What does not open (an address, a
// file that does not decode) leaves the tag fields empty, which is the
// answer the window gives for it.
void TForm11::ReadTags(const QString& path) {
  audio::Library* library = state_.Engine->Library();
  if (library == nullptr || !QFileInfo(path).isFile()) return;
  const audio::Handle h = library->OpenDecoder(QFile::encodeName(path).toStdString());
  if (h == audio::kNoHandle) return;
  const audio::Tags tags = library->GetTags(h);
  library->Free(h);
  SetFieldText(Edit1, QString::fromStdString(tags.artist));
  SetFieldText(Edit2, QString::fromStdString(tags.title));
  SetFieldText(Edit3, QString::fromStdString(tags.album));
  SetFieldText(Edit4, QString::fromStdString(tags.genre));
  SetFieldText(Edit5, QString::fromStdString(tags.year));
  SetFieldText(Edit6, QString::fromStdString(tags.track));
  Edit7->setPlainText(QString::fromStdString(tags.comment));
}

QColor TForm11::Colour(int index) const { return ToQColor(state_.Scheme.ThemeColors[static_cast<size_t>(index)]); }

void TForm11::ApplyScheme() {
  SetBackground(this, Colour(2));
  AdvGlassButton1->SetFontColor(Colour(2));
}

}  // namespace orve
