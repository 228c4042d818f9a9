#include "audio/StreamFault.h"

#include <cerrno>

extern "C" {
#include <libavutil/error.h>
}

namespace orve::audio {

StreamFault StreamFault::FromAvError(int code) {
  switch (code) {
    case AVERROR_HTTP_BAD_REQUEST: return {Kind::kHttpStatus, 400};
    case AVERROR_HTTP_UNAUTHORIZED: return {Kind::kHttpStatus, 401};
    case AVERROR_HTTP_FORBIDDEN: return {Kind::kHttpStatus, 403};
    case AVERROR_HTTP_NOT_FOUND: return {Kind::kHttpStatus, 404};
    case AVERROR_HTTP_OTHER_4XX: return {Kind::kHttpStatus, 0};
    case AVERROR_HTTP_SERVER_ERROR: return {Kind::kHttpStatus, 500};
    case AVERROR(ETIMEDOUT):
    case AVERROR_EXIT:  // our own deadline ran out
      return {Kind::kTimeout, 0};
    case AVERROR_INVALIDDATA:
    case AVERROR_DEMUXER_NOT_FOUND:
    case AVERROR_STREAM_NOT_FOUND:
    case AVERROR_DECODER_NOT_FOUND:
      return {Kind::kNotAudio, 0};
    case AVERROR_PROTOCOL_NOT_FOUND: return {Kind::kBadAddress, 0};
    default: return {Kind::kNoConnection, 0};
  }
}

std::string StreamFault::Text() const {
  switch (kind) {
    case Kind::kNone: return {};
    case Kind::kBadAddress: return "Неверный адрес";
    case Kind::kNoConnection: return "Нет соединения";
    case Kind::kTimeout: return "Сервер не отвечает";
    case Kind::kHttpStatus:
      if (httpStatus >= 500) return "Ошибка сервера";
      return httpStatus > 0 ? "Ошибка " + std::to_string(httpStatus) : "Ошибка запроса";
    case Kind::kNotAudio: return "Это не аудиопоток";
    case Kind::kReconnecting: return "Переподключение…";
  }
  return {};
}

}  // namespace orve::audio
