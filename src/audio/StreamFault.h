#pragma once
// Why a network stream does not play, and the short Russian text the
// program shows for it.

#include <string>

namespace orve::audio {

struct StreamFault {
  enum class Kind {
    kNone,
    kBadAddress,    // not an http:// or https:// address, or a playlist without one
    kNoConnection,  // refused, unreachable, name not found, dropped while opening
    kTimeout,       // no answer within the connection time
    kHttpStatus,    // the server answered with an error status (httpStatus)
    kNotAudio,      // an answer that holds no audio we can decode
    kReconnecting,  // the stream dropped; a new connection is being tried
  };
  Kind kind = Kind::kNone;
  int httpStatus = 0;  // 400..599 for kHttpStatus; 0 when FFmpeg gives only the class

  // FFmpeg's error code of a failed open, as a fault.
  static StreamFault FromAvError(int code);
  // "" for kNone.
  std::string Text() const;
};

}  // namespace orve::audio
