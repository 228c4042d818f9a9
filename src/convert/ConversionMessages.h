#pragma once
// What a failed conversion tells the user: one short Russian sentence that
// names the file, the format and the reason.

#include <QString>

#include "convert/EncoderCommand.h"

namespace orve {

// "Не удалось конвертировать «name» в MP3: reason."
QString ConversionFailureText(const QString& name, ConvertFormat format, const QString& reason);
// A system error (errno) met while writing into `folder`.
QString WriteFailureReason(int errorNumber, const QString& folder);

}  // namespace orve
