#include "widgets/MenuStyle.h"

#include <QAction>
#include <QMenu>

#include "widgets/Painting.h"

namespace orve {

void StyleMenu(QMenu* menu, const QColor& background, const QColor& text, const QColor& highlight,
               const QColor& highlightText) {
  if (!menu) return;
  const QColor selectedText = highlightText.isValid() ? highlightText : background;
  const QColor frame = paint::Mix(background, highlight, 0.5);
  const QColor disabled = paint::Mix(text, background, 0.55);
  menu->setStyleSheet(
      QStringLiteral("QMenu { background: %1; color: %2; border: 1px solid %3; padding: 2px; }"
                     "QMenu::item { padding: 3px 18px 3px 14px; background: transparent; }"
                     "QMenu::item:selected { color: %5; border-radius: 2px;"
                     " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %7, stop:0.5 %4, stop:1 %4); }"
                     "QMenu::item:disabled { color: %6; }"
                     "QMenu::separator { height: 1px; background: %3; margin: 3px 6px; }")
          .arg(background.name(), text.name(), frame.name(), highlight.name(), selectedText.name(),
               disabled.name(), paint::Mix(highlight, Qt::white, 0.25).name()));
  for (QAction* action : menu->actions())
    if (QMenu* sub = action->menu()) StyleMenu(sub, background, text, highlight, highlightText);
}

}  // namespace orve
