#pragma once
// The search window: filters the playlist's titles while the user types and
// reports the entry chosen from the result list. It knows the shared state
// (titles and colours) but no other window: starting the chosen entry and
// refreshing the playlist's time label are the receivers' work. Used from
// the UI thread only.

#include <QList>
#include <QWidget>

class QLineEdit;
class QListWidget;

namespace orve {

struct AppState;

class SearchWindow : public QWidget {
  Q_OBJECT
 public:
  explicit SearchWindow(AppState& state, QWidget* parent = nullptr);

  static constexpr int kWidth = 442;
  static constexpr int kHeight = 405;

  // Every title in playlist order, the search text emptied, and the window
  // shown application-modal. Returns at once: the choice arrives by signal.
  void Open();

  // Recolours the window from the current scheme.
  void ApplyScheme();

  // Row r of the result list shows playlist entry ResultEntries()[r];
  // always as long as the list.
  const QList<int>& ResultEntries() const { return resultEntries_; }

  // The controls, for tests that check looks and drive them as a user does.
  struct Controls {
    QLineEdit* searchEdit;
    QListWidget* resultList;
  };
  Controls ControlsForTest() const { return {searchEdit_, resultList_}; }

 signals:
  // A row was chosen: the playlist selects and starts entry `index`. The
  // window closes right after.
  void EntryChosen(int index);
  // End of every choose step, whether a row was chosen or not: the
  // playlist refreshes its time label.
  void ChooseFinished();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ShowMatches(const QString& text);
  void Choose();
  void ShowRows(const QList<int>& indices);
  int SelectedRow() const;

  AppState& state_;
  QLineEdit* searchEdit_;
  QListWidget* resultList_;  // the titles found, as plain text
  QList<int> resultEntries_;
};

}  // namespace orve
