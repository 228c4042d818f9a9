#pragma once

#include <QString>

namespace orve {

// The title out of a stream's metadata "StreamTitle='...';StreamUrl='...';":
// the text between "StreamTitle='" and the "';" that closes the field (or
// the last quote, when the server ends the block without a semicolon). A
// semicolon inside the title belongs to it ("Earth; Wind & Fire"). Empty
// when the block has no StreamTitle or an empty one.
QString CutStreamTitle(const QString& metadata);

}  // namespace orve
