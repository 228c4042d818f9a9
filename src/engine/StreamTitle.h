#pragma once

#include <QString>

namespace orve {

// The title out of a stream's metadata "StreamTitle='...';StreamUrl='...';":
// the text from the 14th character up to the quote before the first ";".
// Empty when there is no ";" or nothing between.
QString CutStreamTitle(const QString& metadata);

}  // namespace orve
