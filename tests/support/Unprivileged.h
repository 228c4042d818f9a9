#pragma once
// Permission tests mean nothing to root, and CI runs as root. This runs a
// check in a child process that has given up root (user "nobody") when the
// test runs as root, and in a child process as the same user otherwise.

#include <functional>

namespace orve::test {

// Runs `check` in a child process without root rights; returns what it
// returned, or -1 when the child could not be started or crashed.
int RunUnprivileged(const std::function<int()>& check);

}  // namespace orve::test
