#pragma once
// The notification-area icon: tooltip, the main pop-up menu, a double-click
// restores the minimised program. Where the desktop has no tray the icon is
// not shown and the program minimises normally.

#include <QObject>

class QMenu;
class QSystemTrayIcon;

namespace orve {

class TrayIcon : public QObject {
  Q_OBJECT
 public:
  TrayIcon(QMenu* menu, QObject* parent = nullptr);

  bool IsShown() const;
  // Kept even where the desktop has no tray, so it can be shown when one appears.
  void SetToolTip(const QString& text);
  QString ToolTip() const { return toolTip_; }
  // An information balloon; nothing where there is no tray.
  void ShowBalloon(const QString& title, const QString& text, int timeoutMs);
  QSystemTrayIcon* Icon() const { return icon_; }

 signals:
  void RestoreRequested();
  void LeftClicked();
  // A balloon was asked for (shown where the desktop has a tray).
  void BalloonRequested(const QString& title, const QString& text);

 private:
  QSystemTrayIcon* icon_ = nullptr;
  QString toolTip_;
};


}  // namespace orve
