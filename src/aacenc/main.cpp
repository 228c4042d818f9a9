// orve-aacenc: the AAC encoder conversions run where no faac is installed.
// It takes the arguments conversions give faac ("-q N -o out.aac in.wav",
// also "-b N") and writes ADTS AAC. Exit status 0 on success, 1 otherwise.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" {
#include <libavutil/log.h>
}

#include "aacenc/AacEncode.h"

namespace {

constexpr const char* kUsage =
    "usage: orve-aacenc [-q QUALITY] [-b KBPS] -o OUTPUT.aac INPUT\n"
    "  -q QUALITY  10..500, 100 by default (about 128 kbit/s for stereo)\n"
    "  -b KBPS     average bit rate per channel, in place of the quality\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "orve-aacenc: %s\n", message.c_str());
  return 1;
}

bool ParseNumber(const char* text, int low, int high, int& value) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < low || v > high) return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  orve::aacenc::AacOptions options;
  std::string output, input;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "-q" && hasValue) {
      if (!ParseNumber(argv[++i], 10, 500, options.quality)) return Fail("quality must be 10..500");
    } else if (arg == "-b" && hasValue) {
      if (!ParseNumber(argv[++i], 8, 320, options.kbps)) return Fail("bit rate must be 8..320");
    } else if (arg == "-o" && hasValue) {
      output = argv[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      std::fputs(kUsage, stderr);
      return Fail("unknown option " + arg);
    } else if (input.empty()) {
      input = arg;
    } else {
      return Fail("more than one input");
    }
  }
  if (input.empty() || output.empty()) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  av_log_set_level(AV_LOG_ERROR);  // FFmpeg's statistics are not for the user
  std::string error;
  if (!orve::aacenc::EncodeToAdts(input, output, options, error)) return Fail(error);
  return 0;
}
