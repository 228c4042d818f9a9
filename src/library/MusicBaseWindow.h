#pragma once
// The music base window, "Музыкальная база": the artists of the base on the
// left, the selected artist's titles on the right, the counts in the
// caption. A double-click (or Enter) on a title plays it: the entry already
// in the playlist is started, otherwise the file is added and started; a
// title whose file is gone leaves the base without a word.
//
// The random picks work here too, whether the window is shown or not:
// "Случайный из МБ" (one attempt, played) and dynamic adding (appended
// without starting, retried until a title can be added or none can).
//
// The window knows the shared state, the engine's lists and the base, not
// the playlist window: starting and appending leave through signals that
// the application connects, synchronously. Used from the UI thread only.

#include <QWidget>
#include <random>

class QListWidget;
class QSplitter;

namespace orve {

struct AppState;
class MusicBase;

class MusicBaseWindow : public QWidget {
  Q_OBJECT
 public:
  MusicBaseWindow(AppState& state, MusicBase& base, QWidget* parent = nullptr);

  static constexpr int kArtistListWidth = 205;

  // The menu item "Музыкальная база" and the key B: shown, and filled.
  void Open();
  // Artists from the base (sorted once), no artist selected, no titles, the
  // caption with both counts.
  void Reload();
  // The titles of the selected artist, sorted once; none when no artist is
  // selected.
  void ShowTitles();
  // The selected title played (a double-click or Enter).
  void PlaySelectedTitle();
  // "Случайный из МБ": one random title played; nothing when the base is
  // empty, the artist has no titles, or the title's file is gone (then it
  // leaves the base).
  void PlayRandomTitle();
  // Dynamic adding: one random title whose file exists and is not in the
  // playlist is appended, neither selected nor started. Titles whose files
  // are gone leave the base on the way. False when no title can be added.
  bool AppendRandomTitle();

  // Recolours the window from the current scheme.
  void ApplyScheme();
  // The random picks repeat for a given seed (tests).
  void SeedRandom(uint32_t seed) { random_.seed(seed); }

  struct Controls {
    QListWidget* artistList;
    QListWidget* titleList;
    QSplitter* splitter;
  };
  Controls ControlsForTest() const { return {artistList_, titleList_, splitter_}; }

 signals:
  // Select row `index` of the playlist and start it.
  void StartRequested(int index);
  // Add `path` to the playlist as a local file (AddEntry and its row); when
  // `start`, select the new row and start it.
  void AppendRequested(const QString& path, bool start);

 private:
  // The double-click steps for a title: started where it is (when
  // `start`), appended (and started when `start`), or, with its file gone,
  // removed from the base.
  enum class Used { Found, Appended, Gone };
  Used UseTitle(const QString& artist, const QString& title, bool start);

  AppState& state_;
  MusicBase& base_;
  std::mt19937 random_;
  QSplitter* splitter_;
  QListWidget* artistList_;
  QListWidget* titleList_;
};

}  // namespace orve
