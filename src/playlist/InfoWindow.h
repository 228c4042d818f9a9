#pragma once
// The information window: the path of a playlist entry and the seven tags
// of its file, read-only, with an "Ok" button. It knows the shared state
// (the engine's audio library, the colours) but no other window. Used from
// the UI thread only.

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

namespace orve {

struct AppState;
class GlassButton;

class InfoWindow : public QWidget {
  Q_OBJECT
 public:
  explicit InfoWindow(AppState& state, QWidget* parent = nullptr);

  static constexpr int kWidth = 218;
  static constexpr int kHeight = 321;

  // Fills the window for `path` and shows it application-modal; returns at
  // once. The tags are read from a local file only: a stream address, or a
  // file that does not decode, shows the path with empty tag fields.
  void ShowFor(const QString& path);

  // Recolours the window from the current scheme.
  void ApplyScheme();

  // The controls, for tests that check looks and drive them as a user does.
  struct Controls {
    QLineEdit* pathEdit;
    QLineEdit* artistEdit;
    QLineEdit* titleEdit;
    QLineEdit* albumEdit;
    QLineEdit* genreEdit;
    QLineEdit* yearEdit;
    QLineEdit* trackEdit;
    QPlainTextEdit* commentEdit;
    GlassButton* okButton;
  };
  Controls ControlsForTest() const;

 private:
  QLineEdit* Field(const QString& label, const QRect& place);
  void ReadTags(const QString& path);
  void ClearTags();

  AppState& state_;
  QLineEdit* pathEdit_;
  QLineEdit* artistEdit_;
  QLineEdit* titleEdit_;
  QLineEdit* albumEdit_;
  QLineEdit* genreEdit_;
  QLineEdit* yearEdit_;
  QLineEdit* trackEdit_;
  QPlainTextEdit* commentEdit_;
  GlassButton* okButton_;
};

}  // namespace orve
