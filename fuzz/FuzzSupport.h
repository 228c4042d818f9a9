#pragma once
// What the fuzz targets share: a broken property stops the run where it was
// found; inputs that the code under test reads by file name are handed over
// as a file in memory; a scratch folder for what the code writes; pieces of
// one input for functions that take several texts.
//
// The same sources are built into the corpus replay tests (with
// ORVE_FUZZ_REPLAY), where a broken property fails the test instead.

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace orve::fuzz {

struct PropertyBroken {
  const char* file;
  int line;
};

inline void Check(bool condition, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
  if (condition) return;
#ifdef ORVE_FUZZ_REPLAY
  throw PropertyBroken{file, line};
#else
  std::fprintf(stderr, "property broken at %s:%d\n", file, line);
  std::abort();
#endif
}

inline std::string_view Bytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// One file in memory, rewritten for each input. Its name, /proc/self/fd/N,
// opens as a regular file of that content from anywhere in the process.
class MemoryFile {
 public:
  MemoryFile() : fd_(memfd_create("orve-fuzz", 0)), name_("/proc/self/fd/" + std::to_string(fd_)) {
    Check(fd_ >= 0);
  }
  ~MemoryFile() { close(fd_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  const std::string& Hold(std::string_view bytes) {
    Check(ftruncate(fd_, 0) == 0);
    for (size_t done = 0; done < bytes.size();) {
      const ssize_t n = pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
      Check(n > 0);
      done += static_cast<size_t>(n);
    }
    return name_;
  }

 private:
  int fd_;
  std::string name_;
};

// A folder of this process's own, removed at exit. In /dev/shm when there is
// one: the program's files are replaced with fsync, which costs nothing there.
class ScratchDir {
 public:
  ScratchDir() {
    std::error_code ec;
    const std::filesystem::path shm("/dev/shm");
    const auto base = std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
    std::string pattern = (base / "orve-fuzz-XXXXXX").string();
    Check(mkdtemp(pattern.data()) != nullptr);
    path_ = pattern + "/";
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return path_; }  // ends with "/"

 private:
  std::string path_;
};

// Splits an input into texts: each starts with a byte that gives its length
// (cut at the end of the input); an exhausted input gives empty texts.
class Pieces {
 public:
  explicit Pieces(std::string_view bytes) : rest_(bytes) {}

  std::string_view Next() {
    if (rest_.empty()) return {};
    const size_t length = std::min<size_t>(static_cast<unsigned char>(rest_.front()), rest_.size() - 1);
    const std::string_view piece = rest_.substr(1, length);
    rest_.remove_prefix(1 + length);
    return piece;
  }
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

}  // namespace orve::fuzz
