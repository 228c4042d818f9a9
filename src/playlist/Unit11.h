#pragma once
// The information window: the path of a playlist entry and the seven tags
// of its file, read-only, with an "Ok" button. It knows the shared state
// (the engine's audio library, the colours) but no other window. Used from
// the UI thread only.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

#include "widgets/GlassButton.h"

namespace orve {

struct AppState;

class TForm11 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm11(AppState& state, QWidget* parent = nullptr);

  static constexpr int kWidth = 218;
  static constexpr int kHeight = 321;

  // Fills the window for `path` and shows it application-modal; returns at
  // once. The tags are read from a local file only: a stream address, or a
  // file that does not decode, shows the path with empty tag fields.
  void ShowFor(const QString& path);

  // Recolours the window from the current scheme.
  void ApplyScheme();

  QLineEdit* Edit8;        // "Путь:"
  QLineEdit* Edit1;        // "Исполнитель:"
  QLineEdit* Edit2;        // "Песня:"
  QLineEdit* Edit3;        // "Альбом"
  QLineEdit* Edit4;        // "Жанр"
  QLineEdit* Edit5;        // "Год"
  QLineEdit* Edit6;        // "Дорожка"
  QPlainTextEdit* Edit7;   // "Комментарии"
  GlassButton* AdvGlassButton1;  // "Ok"

 private:
  QLineEdit* Field(const QString& label, const QRect& place);
  void ReadTags(const QString& path);
  void ClearTags();
  QColor Colour(int index) const;

  AppState& state_;
};

}  // namespace orve
