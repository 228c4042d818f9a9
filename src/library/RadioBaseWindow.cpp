#include "library/RadioBaseWindow.h"

#include <QListWidget>
#include <QVBoxLayout>

#include "session/AppState.h"
#include "widgets/SkinColours.h"
#include "widgets/SkinnedWindow.h"

namespace orve {

RadioBaseWindow::RadioBaseWindow(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Tool), state_(state), stations_(ReadRadioBase(state.AppDir + kRadioBaseFileName)) {
  setObjectName(QStringLiteral("radioBaseWindow"));
  setWindowTitle(QStringLiteral("База I-net радио"));
  setAttribute(Qt::WA_QuitOnClose, false);
  stationList_ = new QListWidget(this);
  stationList_->setSelectionMode(QAbstractItemView::SingleSelection);
  // Row k is station k: the names keep the file's order.
  for (const Station& s : stations_) stationList_->addItem(s.name);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(stationList_);
  resize(300, 360);
  OnItemChosen(stationList_, [this] { ChooseSelected(); });
  CloseOnEscape(this);
  ApplyScheme();
}

void RadioBaseWindow::Open() {
  show();
  raise();
  activateWindow();
}

void RadioBaseWindow::ChooseSelected() {
  const int row = stationList_->currentRow();
  if (row < 0 || row >= stations_.size()) return;
  emit StationChosen(stations_[row].url, stations_[row].name);
}

void RadioBaseWindow::ApplyScheme() {
  const ColourScheme& s = state_.Scheme;
  SetBackground(this, s.Colour(ColourRole::Window));
  SetFieldColours(stationList_, s.Colour(ColourRole::Highlight), s.Colour(ColourRole::Panel));
}

}  // namespace orve
