#pragma once
// The URL window: one edit for an internet stream's address and an "Add"
// button. Whatever the edit holds when the button is released over becomes
// a stream entry; the window only reports it (UrlAdded) and knows no other
// window. Used from the UI thread only.

#include <QWidget>

class QLineEdit;

namespace orve {

struct AppState;
class GlassButton;

class UrlWindow : public QWidget {
  Q_OBJECT
 public:
  explicit UrlWindow(AppState& state, QWidget* parent = nullptr);

  static constexpr int kWidth = 360;
  static constexpr int kHeight = 40;

  // The edit preset to "HTTP://", selected so that typing replaces it, and
  // the window shown application-modal; returns at once.
  void Open();

  // Recolours the window from the current scheme.
  void ApplyScheme();

  // The controls, for tests that check looks and drive them as a user does.
  struct Controls {
    QLineEdit* addressEdit;
    GlassButton* addButton;
  };
  Controls ControlsForTest() const { return {addressEdit_, addButton_}; }

 signals:
  // The address as typed, in its letter case; one typed without a scheme
  // gets "HTTP://", one pasted behind the preset loses the preset. The
  // playlist appends it as a stream entry.
  void UrlAdded(const QString& text);

 private:
  void SubmitAddress();

  AppState& state_;
  QLineEdit* addressEdit_;   // the window's caption follows it
  GlassButton* addButton_;   // "Добавить", mouse only
};

}  // namespace orve
