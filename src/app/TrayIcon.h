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
  void SetToolTip(const QString& text);
  QSystemTrayIcon* Icon() const { return icon_; }

 signals:
  void RestoreRequested();
  void LeftClicked();

 private:
  QSystemTrayIcon* icon_ = nullptr;
};


}  // namespace orve
