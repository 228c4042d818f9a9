#include "playlist/UrlWindow.h"

#include <QLineEdit>
#include <QRegularExpression>

#include "session/AppState.h"
#include "widgets/GlassButton.h"
#include "widgets/SkinColours.h"
#include "widgets/SkinnedWindow.h"

namespace orve {
namespace {

const QString kPreset = QStringLiteral("HTTP://");

// What the edit holds as an address: one with a scheme of its own keeps it
// (an address pasted behind the preset loses the preset), one without gets
// the preset's.
QString AddressOf(const QString& text) {
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
  const QString address = text.trimmed();
  const QString rest = address.startsWith(kPreset, Qt::CaseInsensitive) ? address.mid(kPreset.size()) : address;
  if (scheme.match(rest).hasMatch()) return rest;
  return scheme.match(address).hasMatch() ? address : kPreset + address;
}

}  // namespace

UrlWindow::UrlWindow(AppState& state, QWidget* parent) : QWidget(parent, Qt::Tool), state_(state) {
  setObjectName(QStringLiteral("urlWindow"));
  setWindowTitle(kPreset);
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(kWidth, kHeight);
  QFont f = font();
  f.setPixelSize(12);
  setFont(f);
  addressEdit_ = new QLineEdit(kPreset, this);
  addressEdit_->setGeometry(8, 9, 256, 22);
  // A glass button takes no focus, so neither Enter nor Space can add: only
  // the mouse does.
  addButton_ = new GlassButton(QStringLiteral("Добавить"), this);
  addButton_->setGeometry(270, 8, 82, 24);
  connect(addressEdit_, &QLineEdit::textChanged, this, &QWidget::setWindowTitle);
  connect(addButton_, &QAbstractButton::clicked, this, &UrlWindow::SubmitAddress);
  CloseOnEscape(this);
  ApplyScheme();
}

void UrlWindow::Open() {
  addressEdit_->setText(kPreset);
  // Typing or pasting replaces the preset.
  addressEdit_->selectAll();
  setWindowModality(Qt::ApplicationModal);
  addressEdit_->setFocus();
  show();
  activateWindow();
}

void UrlWindow::SubmitAddress() {
  emit UrlAdded(AddressOf(addressEdit_->text()));
  addressEdit_->setText(kPreset);
  close();
}

void UrlWindow::ApplyScheme() {
  const ColourScheme& s = state_.Scheme;
  SetBackground(this, s.Colour(ColourRole::Window));
  PaintGlassButton(addButton_, s.Colour(ColourRole::ButtonText), s.Colour(ColourRole::ButtonFace),
                   s.Colour(ColourRole::ButtonGlow));
}

}  // namespace orve
