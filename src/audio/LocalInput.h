#pragma once
// Opens a local file with libavformat and nothing else: a name that looks
// like an address ("http://...", "a:b.mp3") is never handed to a network
// protocol, so opening a file can never wait on a server.

#include <string>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace orve::audio {

inline int OpenLocalInput(AVFormatContext** format, const std::string& path) {
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  const std::string url = "file:" + path;
  const int ret = avformat_open_input(format, url.c_str(), nullptr, &options);
  av_dict_free(&options);
  return ret;
}

}  // namespace orve::audio
