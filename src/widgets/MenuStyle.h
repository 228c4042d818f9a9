#pragma once
// Gives a QMenu, and every sub-menu under it, the colours of the scheme.

#include <QColor>

class QMenu;

namespace orve {

// Items in `text` on `background`; the item under the pointer on
// `highlight` with its text in `highlightText` (the background colour when
// invalid, which reads well on a bright highlight). Sub-menus added later
// need another call.
void StyleMenu(QMenu* menu, const QColor& background, const QColor& text, const QColor& highlight,
               const QColor& highlightText = QColor());

}  // namespace orve
