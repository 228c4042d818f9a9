#include "support/LargestAllocation.h"

#include <atomic>
#include <cerrno>
#include <cstdint>

namespace orve::test::allocation {
namespace {

std::atomic<size_t> largest{0};

}  // namespace

#if defined(__SANITIZE_ADDRESS__)

bool Available() { return false; }

#else

bool Available() { return true; }

void Note(size_t size) {
  size_t seen = largest.load(std::memory_order_relaxed);
  while (size > seen && !largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
  }
}

#endif

void Reset() { largest.store(0, std::memory_order_relaxed); }
size_t Largest() { return largest.load(std::memory_order_relaxed); }

}  // namespace orve::test::allocation

#if !defined(__SANITIZE_ADDRESS__)

// glibc's own entry points, which its malloc calls after any hooks.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);

void* malloc(size_t size) {
  orve::test::allocation::Note(size);
  return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
  size_t total = SIZE_MAX;
  if (!__builtin_mul_overflow(count, size, &total)) orve::test::allocation::Note(total);
  else orve::test::allocation::Note(SIZE_MAX);
  return __libc_calloc(count, size);
}

void* realloc(void* p, size_t size) {
  orve::test::allocation::Note(size);
  return __libc_realloc(p, size);
}

void* memalign(size_t alignment, size_t size) {
  orve::test::allocation::Note(size);
  return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) {
  orve::test::allocation::Note(size);
  return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, size_t alignment, size_t size) {
  orve::test::allocation::Note(size);
  void* p = __libc_memalign(alignment, size);
  if (p == nullptr) return ENOMEM;
  *out = p;
  return 0;
}
}

#endif
