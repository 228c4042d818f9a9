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
                     "QMenu::item:selected { background: %4; color: %5; }"
                     "QMenu::item:disabled { color: %6; }"
                     "QMenu::separator { height: 1px; background: %3; margin: 3px 6px; }")
          .arg(background.name(), text.name(), frame.name(), highlight.name(), selectedText.name(),
               disabled.name()));
  for (QAction* action : menu->actions())
    if (QMenu* sub = action->menu()) StyleMenu(sub, background, text, highlight, highlightText);
}

}  // namespace orve
