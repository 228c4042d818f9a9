#include "base/PartFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orve {

PartFile::PartFile(const std::string& target) {
  // A name no other writer (of this process or another) uses; created with
  // the user's umask like any file they save.
  static std::atomic<unsigned> serial{0};
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    name_ = target + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    fd_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
}

PartFile::~PartFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!kept_ && fd_ >= 0) ::unlink(name_.c_str());
}

bool PartFile::KeepAs(const std::string& target) {
  kept_ = true;  // from here on the temporary file is renamed or removed below
  // Flushed first only when an older file is replaced: a crash of the
  // system must not leave that name on an empty file. A new name has
  // nothing to lose, and the flush would double the time of a large write.
  struct stat older {};
  const bool replacing = ::stat(target.c_str(), &older) == 0;
  if ((replacing && ::fsync(fd_) != 0) || ::close(fd_) != 0) {
    const int saved = errno;
    fd_ = -1;
    ::unlink(name_.c_str());
    errno = saved;
    return false;
  }
  fd_ = -1;
  if (::rename(name_.c_str(), target.c_str()) != 0) {
    const int saved = errno;
    ::unlink(name_.c_str());
    errno = saved;
    return false;
  }
  return true;
}

bool WriteAll(int fd, const void* data, size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

void StartWriteback(int fd, int64_t offset, int64_t length) {
  // Only a hint: where the system cannot, the flush at the end does it all.
  ::sync_file_range(fd, offset, length, SYNC_FILE_RANGE_WRITE);
}

int MoveReplacing(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) == 0) return 0;
  if (errno != EXDEV) return errno;
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return errno;
  int error = 0;
  {
    PartFile part(to);
    if (part.Fd() < 0) {
      error = errno;
    } else {
      std::vector<unsigned char> buffer(1 << 20);
      for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
          error = errno;
          break;
        }
        if (n == 0) break;
        if (!WriteAll(part.Fd(), buffer.data(), static_cast<size_t>(n))) {
          error = errno;
          break;
        }
      }
      if (error == 0 && !part.KeepAs(to)) error = errno;
    }
  }
  ::close(in);
  if (error == 0) ::unlink(from.c_str());
  return error;
}

}  // namespace orve
