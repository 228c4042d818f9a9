#pragma once
// The search window: filters the playlist's titles while the user types and
// reports the entry chosen from the result list. It knows the shared state
// (titles and colours) but no other window: starting the chosen entry and
// refreshing the playlist's time label are the receivers' work. Used from
// the UI thread only.

#include <QLineEdit>
#include <QListWidget>
#include <QStringList>
#include <QWidget>

namespace orve {

struct AppState;

class TForm14 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm14(AppState& state, QWidget* parent = nullptr);

  static constexpr int kWidth = 442;
  static constexpr int kHeight = 405;

  // Every title in playlist order, the search text emptied, and the window
  // shown application-modal. Returns at once: the choice arrives by signal.
  void OpenSearch();

  // Recolours the window from the current scheme.
  void ApplyScheme();

  QLineEdit* Edit1;       // the search text
  QListWidget* ListBox1;  // the titles found, as plain text
  // Row r of ListBox1 shows playlist entry IndexMap[r] (decimal text);
  // always as long as the list.
  QStringList IndexMap;

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
  void Edit1Change(const QString& text);
  void Choose();
  void ShowRows(const QList<int>& indices);
  int SelectedRow() const;
  QColor Colour(int index) const;

  AppState& state_;
};

}  // namespace orve
