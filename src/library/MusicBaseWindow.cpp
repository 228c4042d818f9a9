#include "library/MusicBaseWindow.h"

#include <QCollator>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSet>
#include <QSplitter>
#include <algorithm>
#include <chrono>
#include <vector>

#include "library/MusicBase.h"
#include "session/AppState.h"
#include "settings/FileNames.h"
#include "widgets/SkinColours.h"
#include "widgets/SkinnedWindow.h"

namespace orve {
namespace {

const QString kCaption = QStringLiteral("Музыкальная база");

// Sorted once, without regard to letter case, as the user reads names.
void SortNames(QStringList& names) {
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
}

}  // namespace

MusicBaseWindow::MusicBaseWindow(AppState& state, MusicBase& base, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      state_(state),
      base_(base),
      random_(static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count())) {
  setObjectName(QStringLiteral("musicBaseWindow"));
  setWindowTitle(kCaption);
  setAttribute(Qt::WA_QuitOnClose, false);
  splitter_ = new QSplitter(Qt::Horizontal, this);
  artistList_ = new QListWidget(splitter_);
  titleList_ = new QListWidget(splitter_);
  for (QListWidget* list : {artistList_, titleList_}) list->setSelectionMode(QAbstractItemView::SingleSelection);
  splitter_->setSizes({kArtistListWidth, 2 * kArtistListWidth});
  splitter_->setStretchFactor(1, 1);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter_);
  resize(3 * kArtistListWidth + 6, 360);
  connect(artistList_, &QListWidget::currentRowChanged, this, &MusicBaseWindow::ShowTitles);
  OnItemChosen(titleList_, [this] { PlaySelectedTitle(); });
  CloseOnEscape(this);
  ApplyScheme();
}

void MusicBaseWindow::Open() {
  Reload();
  show();
  raise();
  activateWindow();
}

void MusicBaseWindow::Reload() {
  QStringList artists = base_.Artists();
  SortNames(artists);
  artistList_->clear();
  artistList_->addItems(artists);
  titleList_->clear();
  setWindowTitle(
      QStringLiteral("%1 (Исполнителей:%2/Песен:%3)").arg(kCaption).arg(artists.size()).arg(base_.TitleCount()));
}

void MusicBaseWindow::ShowTitles() {
  titleList_->clear();
  const QListWidgetItem* artist = artistList_->currentItem();
  if (artist == nullptr) return;
  QStringList titles = base_.Titles(artist->text());
  SortNames(titles);
  titleList_->addItems(titles);
}

void MusicBaseWindow::PlaySelectedTitle() {
  const QListWidgetItem* artist = artistList_->currentItem();
  const QListWidgetItem* title = titleList_->currentItem();
  if (artist == nullptr || title == nullptr) return;
  if (UseTitle(artist->text(), title->text(), true) == Used::Gone) Reload();
}

MusicBaseWindow::Used MusicBaseWindow::UseTitle(const QString& artist, const QString& title, bool start) {
  const QString path = base_.PathOf(artist, title);
  if (path.isEmpty() || !IsRegularFile(path)) {
    base_.Remove(artist, title);
    return Used::Gone;
  }
  const QStringList& paths = state_.Engine->Paths;
  if (const auto i = paths.indexOf(path); i >= 0) {
    if (start) emit StartRequested(static_cast<int>(i));
    return Used::Found;
  }
  const qsizetype before = paths.size();
  emit AppendRequested(path, start);
  // A file the playlist refuses (no kind it knows) counts as not appended.
  return paths.size() > before ? Used::Appended : Used::Found;
}

void MusicBaseWindow::PlayRandomTitle() {
  if (const auto pick = base_.RandomPick(random_)) UseTitle(pick->artist, pick->title, true);
  if (isVisible()) Reload();
}

bool MusicBaseWindow::AppendRandomTitle() {
  // Random picks as "Случайный из МБ" makes them, repeated until one can be
  // added; a title that failed is not tried again, so the picks end when
  // every title has failed. A title already in the playlist fails without
  // looking at its file.
  const QList<MusicBase::Artist> artists = base_.Catalogue();
  std::vector<std::vector<bool>> tried;
  qsizetype untried = 0;
  for (const MusicBase::Artist& a : artists) {
    tried.emplace_back(static_cast<size_t>(a.titles.size()), false);
    untried += a.titles.size();
  }
  const QStringList& paths = state_.Engine->Paths;
  const QSet<QString> inPlaylist(paths.begin(), paths.end());
  bool appended = false;
  while (!appended && untried > 0) {
    std::uniform_int_distribution<qsizetype> anyArtist(0, artists.size() - 1);
    const qsizetype a = anyArtist(random_);
    const QList<MusicBase::Title>& titles = artists[a].titles;
    if (titles.isEmpty()) continue;
    std::uniform_int_distribution<qsizetype> anyTitle(0, titles.size() - 1);
    const qsizetype t = anyTitle(random_);
    if (tried[static_cast<size_t>(a)][static_cast<size_t>(t)]) continue;
    tried[static_cast<size_t>(a)][static_cast<size_t>(t)] = true;
    --untried;
    if (inPlaylist.contains(titles[t].path)) continue;
    appended = UseTitle(artists[a].name, titles[t].name, false) == Used::Appended;
  }
  if (isVisible()) Reload();
  return appended;
}

void MusicBaseWindow::ApplyScheme() {
  const ColourScheme& s = state_.Scheme;
  SetBackground(this, s.Colour(ColourRole::Window));
  for (QListWidget* list : {artistList_, titleList_}) {
    SetFieldColours(list, s.Colour(ColourRole::Highlight), s.Colour(ColourRole::Panel));
  }
}

}  // namespace orve
