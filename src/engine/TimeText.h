#pragma once
// Times as the displays show them: m:ss below one hour, h:mm:ss from one
// hour on. Two times shown together are joined by "/" without blanks.

#include <QString>
#include <cstdint>

namespace orve {

QString TimeText(uint32_t seconds);

}  // namespace orve
