// The playlist window's conversions: the folder slots of the
// "Конвертировать" sub-menus, starting a conversion of the selected entry,
// and its progress in the title strip.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>

#include "convert/ConversionJob.h"
#include "engine/Core.h"
#include "playlist/PlaylistWindow.h"
#include "session/AppState.h"

namespace orve {

void PlaylistWindow::SetConversionFolders(const QStringList& folders) {
  conversionFolders_ = folders.mid(0, kFolderSlots);
  for (auto& menuSlots : folderSlots_) {
    for (int i = 0; i < kFolderSlots; ++i) {
      QAction* slot = menuSlots[static_cast<size_t>(i)];
      const bool folder = i < conversionFolders_.size();
      slot->setText(folder ? conversionFolders_[i] : QStringLiteral("Path %1").arg(i + 1));
      slot->setEnabled(folder);
    }
  }
}

void PlaylistWindow::ConvertSelected(ConvertFormat format, int slot) {
  const int s = SelectedIndex();
  if (s < 0 || s >= engine_.Paths.size() || slot < 0 || slot >= conversionFolders_.size()) return;
  if (engine_.Kinds[s] == QLatin1String(kKindStream)) return;
  const bool encoder = format != ConvertFormat::kWave;
  if (encoder && conversionBusy_) return;
  state_.DestFolder = conversionFolders_[slot];
  // The program's own folder for conversions is made on first use; a
  // folder the user chose is never made up again once it is gone.
  if (state_.DestFolder == state_.AppDir + QStringLiteral("Decode/")) QDir().mkpath(state_.DestFolder);
  ConversionRequest request;
  request.source = engine_.Paths[s];
  request.format = format;
  request.destFolder = state_.DestFolder;
  request.encoders = state_.Encoders;
  request.codecsFolder = state_.AppDir + QStringLiteral("Decode/codecs/");
  request.ownProgramsFolder = QCoreApplication::applicationDirPath();
  auto* job = new ConversionJob(std::move(request), this);
  conversions_.push_back(job);
  // WAV alone needs no encoder: it may run beside another conversion.
  if (encoder) SetConversionBusy(true);
  connect(job, &ConversionJob::Progress, this, &PlaylistWindow::RefreshTitleCaption);
  connect(job, &ConversionJob::Finished, this, [this, job](const QString& failure) { ConversionEnded(job, failure); });
  RefreshTitleCaption();
  job->Start();
}

void PlaylistWindow::ConversionEnded(ConversionJob* job, const QString& failure) {
  std::erase(conversions_, job);
  if (job->Format() != ConvertFormat::kWave) SetConversionBusy(false);
  job->deleteLater();
  RefreshTitleCaption();
  if (failure.isEmpty()) {
    emit ConversionSucceeded(job->Name());
  } else {
    emit ConversionFailed(failure);
  }
}

void PlaylistWindow::RefreshTitleCaption() {
  QString text = QStringLiteral("Плэйлист");
  if (!conversions_.empty()) {
    const ConversionJob* job = conversions_.front();
    // A long name gives way, so the percentage always shows.
    const QString head = QStringLiteral("Конвертация: ");
    const QString tail = QStringLiteral(" %1%").arg(std::max(0, job->Percent()));
    const QFontMetrics metrics(titleCaption_->font());
    const int room = titleCaption_->width() - metrics.horizontalAdvance(head + tail);
    text = head + metrics.elidedText(job->Name(), Qt::ElideRight, std::max(room, metrics.averageCharWidth() * 3)) + tail;
  } else if (addDone_ < addTotal_) {
    text = QStringLiteral("Добавление %1 из %2").arg(addDone_).arg(addTotal_);
  }
  titleCaption_->setText(text);
}

}  // namespace orve
