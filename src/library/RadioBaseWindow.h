#pragma once
// The radio base window, "База I-net радио": the names of the stations of
// rbase.dbm, read when the window is created. A double-click (or Enter) on
// a station reports it; the application starts the station where it is in
// the playlist or appends it as a stream entry. Used from the UI thread only.

#include <QWidget>

#include "library/RadioBase.h"

class QListWidget;

namespace orve {

struct AppState;

class RadioBaseWindow : public QWidget {
  Q_OBJECT
 public:
  // Reads appDir + "rbase.dbm".
  explicit RadioBaseWindow(AppState& state, QWidget* parent = nullptr);

  // The menu item "База I-net радио" and the key I. The list is not read
  // again: changes to the file count from the next start.
  void Open();
  // The selected station chosen (a double-click or Enter); nothing without one.
  void ChooseSelected();

  // Recolours the window from the current scheme.
  void ApplyScheme();

  struct Controls {
    QListWidget* stationList;
  };
  Controls ControlsForTest() const { return {stationList_}; }

 signals:
  void StationChosen(const QString& url, const QString& name);

 private:
  AppState& state_;
  QList<Station> stations_;
  QListWidget* stationList_;
};

}  // namespace orve
