#pragma once
// The URL window: one edit for an internet stream's address and an "Add"
// button. Whatever the edit holds when the button is released over becomes
// a stream entry; the window only reports it (UrlAdded) and knows no other
// window. Used from the UI thread only.

#include <QLineEdit>
#include <QWidget>

#include "widgets/GlassButton.h"

namespace orve {

struct AppState;

class TForm8 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm8(AppState& state, QWidget* parent = nullptr);

  static constexpr int kWidth = 360;
  static constexpr int kHeight = 40;

  // The edit preset to "HTTP://" and the window shown application-modal;
  // returns at once.
  void OpenUrlDialog();

  // Recolours the window from the current scheme.
  void ApplyScheme();

  QLineEdit* Edit1;              // the address; the caption follows it
  GlassButton* AdvGlassButton1;  // "Добавить", mouse only

 signals:
  // The address as typed, unchecked ("HTTP://" included): the playlist
  // appends it as a stream entry.
  void UrlAdded(const QString& text);

 private:
  void AdvGlassButton1Click();
  QColor Colour(int index) const;

  AppState& state_;
};

}  // namespace orve
