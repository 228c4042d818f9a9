#include "widgets/SkinnedWindow.h"

#include <QShortcut>

#include "widgets/GlassButton.h"

namespace orve {

QFont SkinFont() {
  QFont font(QStringLiteral("Calibri"));
  font.setPixelSize(12);
  return font;
}

GlassButton* CreateSkinButton(const QString& caption, const QRect& place, QWidget* parent) {
  auto* button = new GlassButton(caption, parent);
  button->setGeometry(place);
  QFont font = button->font();
  font.setPixelSize(10);
  font.setBold(true);
  button->setFont(font);
  return button;
}

void CloseOnEscape(QWidget* window) {
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
  escape->setContext(Qt::WindowShortcut);
  QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

}  // namespace orve
