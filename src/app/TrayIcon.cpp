#include "app/TrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

#include "app/AppIcon.h"
#include "app/Application.h"

namespace orve {

TrayIcon::TrayIcon(QMenu* menu, QObject* parent) : QObject(parent), toolTip_(QString::fromLatin1(kAppTitle)) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
  icon_ = new QSystemTrayIcon(AppIcon(), this);
  icon_->setToolTip(toolTip_);
  icon_->setContextMenu(menu);
  connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) emit RestoreRequested();
    if (reason == QSystemTrayIcon::Trigger) emit LeftClicked();
  });
  icon_->show();
}

bool TrayIcon::IsShown() const { return icon_ != nullptr && icon_->isVisible(); }

void TrayIcon::SetToolTip(const QString& text) {
  toolTip_ = text;
  if (icon_) icon_->setToolTip(text);
}

void TrayIcon::ShowBalloon(const QString& title, const QString& text, int timeoutMs) {
  if (icon_) icon_->showMessage(title, text, QSystemTrayIcon::Information, timeoutMs);
  emit BalloonRequested(title, text);
}

}  // namespace orve
