#pragma once
// A named pipe would hold an open until a writer comes and a device such as
// /dev/urandom never ends: only regular files (also through links) are read
// as audio files.

#include <sys/stat.h>

#include <string>

namespace orve::audio {

inline bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace orve::audio
