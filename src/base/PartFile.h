#pragma once
// Files that appear whole or not at all: the content is written under a
// temporary name beside the target ("NAME.part-PID-N") and renamed over it
// only when complete, so an older file of that name is replaced only by a
// whole one, and a failure leaves nothing behind. Plain POSIX, no Qt.

#include <cstdint>
#include <string>

namespace orve {

class PartFile {
 public:
  // Creates the temporary file beside `target`; Fd() is -1 (errno set) when
  // that fails. The file is removed when the object goes, unless kept.
  explicit PartFile(const std::string& target);
  ~PartFile();
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  int Fd() const { return fd_; }
  // Closed and renamed to `target` (flushed to disk first when it replaces
  // a file); false with errno set (the temporary file is then gone).
  bool KeepAs(const std::string& target);

 private:
  std::string name_;
  int fd_ = -1;
  bool kept_ = false;
};

// Writes all of `size` bytes, retrying short writes; false with errno set.
bool WriteAll(int fd, const void* data, size_t size);

// Starts writing `length` bytes of `fd` from `offset` to disk without
// waiting, so that the flush before a PartFile is kept has little left to do.
void StartWriteback(int fd, int64_t offset, int64_t length);

// Moves `from` to `to`, replacing an older `to` only by a whole file: a
// rename within one file system, else a copy through a PartFile and the
// removal of `from`. Returns 0, or the errno of the step that failed (`to`
// is then untouched and `from` stays).
int MoveReplacing(const std::string& from, const std::string& to);

}  // namespace orve
