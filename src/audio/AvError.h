#pragma once
// FFmpeg reports errors as negative codes; this names the call that failed
// and gives FFmpeg's own text for the code.

#include <string>

extern "C" {
#include <libavutil/error.h>
}

namespace orve::audio {

inline std::string AvErrorText(const char* call, int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return std::string(call) + ": " + text;
}

}  // namespace orve::audio
