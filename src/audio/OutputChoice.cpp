#include <string_view>

#include "audio/AudioLibrary.h"

namespace orve::audio {

OutputChoice OutputChoice::Parse(const char* envValue) {
  OutputChoice choice;
  const std::string_view v = envValue == nullptr ? std::string_view() : std::string_view(envValue);
  constexpr std::string_view kWavPrefix = "wav:";
  if (v == "null") {
    choice.kind = Kind::kNull;
  } else if (v.starts_with(kWavPrefix) && v.size() > kWavPrefix.size()) {
    choice.kind = Kind::kWav;
    choice.wavPath = std::string(v.substr(kWavPrefix.size()));
  }
  return choice;
}

}  // namespace orve::audio
