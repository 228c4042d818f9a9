#pragma once
// Tags of a file through TagLib, as UTF-8. Eight-bit legacy text (ID3v1,
// and ID3v2 frames that claim Latin-1) is taken as Windows-1251, the way a
// Russian Windows system shows it.

#include <string>

#include "audio/AudioLibrary.h"

namespace orve::audio {

// Empty fields when the file has no tags or TagLib does not know the format.
Tags ReadTags(const std::string& path);

}  // namespace orve::audio
