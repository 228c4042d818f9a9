#include "appearance/TransparencyWindow.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "widgets/Compositing.h"
#include "widgets/ScreenPlacement.h"
#include "widgets/SkinColours.h"
#include "widgets/SkinnedWindow.h"

namespace orve {

TransparencyWindow::TransparencyWindow(const std::array<QWidget*, kWindows>& windows, QWidget* parent)
    : QWidget(parent, Qt::Tool), windows_(windows) {
  setObjectName(QStringLiteral("transparencyWindow"));
  setWindowTitle(QStringLiteral("Транспарантность"));
  setAttribute(Qt::WA_QuitOnClose, false);
  auto* layout = new QVBoxLayout(this);
  const std::array<QString, kWindows> captions{QStringLiteral("Главное окно"), QStringLiteral("Эквалайзер"),
                                               QStringLiteral("Плэйлист")};
  for (size_t i = 0; i < sliders_.size(); ++i) {
    layout->addWidget(new QLabel(captions[i], this));
    QSlider* slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(kMinimum, 255);
    slider->setValue(255);
    slider->setMinimumWidth(220);
    layout->addWidget(slider);
    sliders_[i] = slider;
    QWidget* window = windows_[i];
    // 255 is opaque, with the compositor's blending off again.
    connect(slider, &QSlider::valueChanged, window, [window](int v) { window->setWindowOpacity(v / 255.0); });
  }
  noCompositorNote_ = new QLabel(QStringLiteral("Прозрачность не видна: композитор не запущен."), this);
  noCompositorNote_->setWordWrap(true);
  noCompositorNote_->hide();
  layout->addWidget(noCompositorNote_);
  CloseOnEscape(this);
}

void TransparencyWindow::TakeOpacities() {
  for (size_t i = 0; i < sliders_.size(); ++i) {
    // Only showing where the window is: a value below the slider's range,
    // written into config.ini by hand, stays on the window.
    const QSignalBlocker quiet(sliders_[i]);
    sliders_[i]->setValue(StoredOpacity(windows_[i]));
  }
}

void TransparencyWindow::Open() {
  TakeOpacities();
  noCompositorNote_->setVisible(CompositorRunning() == false);
  adjustSize();
  move(CentredOnPrimary(size()));
  show();
  raise();
  activateWindow();
}

}  // namespace orve
