#pragma once
// What a drop on a window brings.

#include <QStringList>

class QMimeData;

namespace orve {

// The local file names of a drop, in its order; addresses are left out.
QStringList LocalFileNames(const QMimeData& data);

}  // namespace orve
