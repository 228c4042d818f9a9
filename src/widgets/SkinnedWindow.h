#pragma once
// What every skinned window shares: its faces and its glass buttons. The
// title strip is widgets/TitleStrip.h.

#include <QFont>
#include <QRect>
#include <QString>
#include <functional>

class QListWidget;
class QWidget;

namespace orve {

class GlassButton;

// The skin's face, 12 pixels: laid out for a narrow face, "Calibri" (which
// fontconfig maps to its metric twin Carlito).
QFont SkinFont();

// A glass button at `place` with the buttons' bold 10-pixel caption.
GlassButton* CreateSkinButton(const QString& caption, const QRect& place, QWidget* parent);

// Escape anywhere in `window` closes it, as in every desktop's small windows.
void CloseOnEscape(QWidget* window);

// A double-click on an item of `list`, or releasing Enter in it, runs
// `choose`: how the program's pick lists take a choice.
void OnItemChosen(QListWidget* list, std::function<void()> choose);

}  // namespace orve
