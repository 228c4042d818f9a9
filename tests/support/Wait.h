#pragma once
// Waiting for asynchronous work in GoogleTest tests: the event loop runs
// until the condition holds or the (generous) time is up. Use as
// ASSERT_TRUE(WaitUntil(...)), so a timeout is a test failure.

#include <functional>

namespace orve::test {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

}  // namespace orve::test
