#pragma once
// Waiting for asynchronous work in GoogleTest tests: the event loop runs
// until the condition holds or the (generous) time is up. Use as
// ASSERT_TRUE(WaitUntil(...)), so a timeout is a test failure.

#include <functional>

namespace orve::test {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// Runs the application's event loop and, once it runs, `trigger`. True when
// the loop then ends by itself within the time; otherwise it is ended.
bool LoopEndsAfter(const std::function<void()>& trigger, int timeoutMs = 20000);

}  // namespace orve::test
