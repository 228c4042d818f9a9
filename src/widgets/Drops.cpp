#include "widgets/Drops.h"

#include <QMimeData>
#include <QUrl>

namespace orve {

QStringList LocalFileNames(const QMimeData& data) {
  QStringList names;
  for (const QUrl& url : data.urls()) {
    if (url.isLocalFile()) names << url.toLocalFile();
  }
  return names;
}

}  // namespace orve
