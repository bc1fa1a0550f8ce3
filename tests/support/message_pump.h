// Running the thread's message queue from a test: for a while, or until a
// condition holds.
#pragma once
#include <functional>

namespace corvalin::testing {

// Dispatches messages for `milliseconds`.
void PumpMessagesFor(int milliseconds);
// Dispatches messages until `done()` is true or `timeoutMs` passed; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Dispatches messages until no keyboard or mouse input waits for the thread,
// so input a test sent never reaches the next test's windows; false on timeout.
bool DrainInput(int timeoutMs = 2000);

}  // namespace corvalin::testing
