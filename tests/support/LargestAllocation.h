#pragma once
// The largest single memory request the process made since the last reset
// (malloc and its relatives, so operator new and FFmpeg's av_malloc too).
// Compiled into a test program as one of its own sources: it replaces the
// program's malloc. Under AddressSanitizer, which owns malloc, it watches
// nothing and Available() is false.

#include <cstddef>

namespace orve::test::allocation {

bool Available();
void Reset();
size_t Largest();

}  // namespace orve::test::allocation
