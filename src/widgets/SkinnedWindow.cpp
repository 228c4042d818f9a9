#include "widgets/SkinnedWindow.h"

#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QShortcut>

#include "widgets/GlassButton.h"

namespace orve {
namespace {

// Releasing Enter in a list runs its choice (the press moves nothing there).
class EnterRelease : public QObject {
 public:
  EnterRelease(std::function<void()> choose, QObject* parent) : QObject(parent), choose_(std::move(choose)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyRelease) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        choose_();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> choose_;
};

}  // namespace

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

void OnItemChosen(QListWidget* list, std::function<void()> choose) {
  QObject::connect(list, &QListWidget::itemDoubleClicked, list, [choose] { choose(); });
  list->installEventFilter(new EnterRelease(std::move(choose), list));
}

}  // namespace orve
