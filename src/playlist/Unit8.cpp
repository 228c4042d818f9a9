#include "playlist/Unit8.h"

#include "app/AppState.h"
#include "widgets/SkinColours.h"

namespace orve {
namespace {

const QString kPreset = QStringLiteral("HTTP://");

}  // namespace

TForm8::TForm8(AppState& state, QWidget* parent) : QWidget(parent, Qt::Tool), state_(state) {
  setObjectName(QStringLiteral("Form8"));
  setWindowTitle(kPreset);
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(kWidth, kHeight);
  QFont f = font();
  f.setPixelSize(12);
  setFont(f);
  Edit1 = new QLineEdit(kPreset, this);
  Edit1->setGeometry(8, 9, 256, 22);
  // A glass button takes no focus, so neither Enter nor Space can add: only
  // the mouse does.
  AdvGlassButton1 = new GlassButton(QStringLiteral("Добавить"), this);
  AdvGlassButton1->setGeometry(270, 8, 82, 24);
  connect(Edit1, &QLineEdit::textChanged, this, &QWidget::setWindowTitle);
  connect(AdvGlassButton1, &QAbstractButton::clicked, this, &TForm8::AdvGlassButton1Click);
  ApplyScheme();
}

void TForm8::OpenUrlDialog() {
  Edit1->setText(kPreset);
  setWindowModality(Qt::ApplicationModal);
  Edit1->setFocus();
  show();
  activateWindow();
}

void TForm8::AdvGlassButton1Click() {
  emit UrlAdded(Edit1->text());
  Edit1->setText(kPreset);
  close();
}

QColor TForm8::Colour(int index) const { return ToQColor(state_.Scheme.ThemeColors[static_cast<size_t>(index)]); }

void TForm8::ApplyScheme() {
  SetBackground(this, Colour(5));
  PaintGlassButton(AdvGlassButton1, Colour(2), Colour(6), Colour(7));
}

}  // namespace orve
