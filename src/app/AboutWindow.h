#pragma once
// The about window "Об Авторах": the program's picture, who makes it, its
// version history and the keyboard shortcuts, on four tabs. Created once,
// hidden by "Ok".

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QTabWidget;

namespace orve {

struct ColourScheme;
class GlassButton;

class AboutWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 373;
  static constexpr int kHeight = 359;

  // The fourteen lines of the "Горячие клавиши" tab.
  static QString ShortcutText();
  // The "Версия" tab: the versions newest first, their changes as "+" lines.
  static QString VersionHistory();
  // Where the project lives (README), linked from the "Автор" tab.
  static constexpr char kProjectAddress[] = "https://orve-player.example";

  explicit AboutWindow(QWidget* parent = nullptr);

  void ApplyScheme(const ColourScheme& scheme);
  // Shown centred on the primary monitor, on the first tab.
  void Open();

  struct Controls {
    QTabWidget* tabs;
    QWidget* pictureTab;
    QLabel* creditsLabel;
    QPlainTextEdit* versionText;
    QPlainTextEdit* shortcutText;
    GlassButton* okButton;
  };
  Controls ControlsForTest() const { return {tabs_, pictureTab_, creditsLabel_, versionText_, shortcutText_, okButton_}; }

 private:
  QTabWidget* tabs_;
  QWidget* pictureTab_;
  QLabel* creditsLabel_;
  QPlainTextEdit* versionText_;
  QPlainTextEdit* shortcutText_;
  GlassButton* okButton_;
};

}  // namespace orve
