// Running the thread's message queue from a test: for a while, or until a
// condition holds.
#pragma once
#include <functional>

namespace corvalin::testing {

// Dispatches messages for `milliseconds`.
void PumpMessagesFor(int milliseconds);
// Dispatches messages until `done()` is true or `timeoutMs` passed; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

}  // namespace corvalin::testing
