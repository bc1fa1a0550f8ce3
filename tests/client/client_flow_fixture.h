// Steps the end-to-end tests share: a started run and the way to the captcha layout.
#pragma once
#include <gtest/gtest.h>

#include "client/corvalin_process.h"

namespace corvalin::testing {

// The service's session of this run, once the page has loaded (empty otherwise).
std::string WaitForPageSession(CorvalinRun& run, int timeoutMs = 15000);
std::string SessionValue(CorvalinRun& run, const std::string& name);
// Whether the only session's last submit carried `password`.
bool SubmittedPassword(CorvalinRun& run, const std::string& password);

// Typing the account and password and clicking "开始挂机" until the window
// shows the captcha layout; false (with test failures) when it does not.
bool SubmitUntilCaptcha(CorvalinRun& run, const std::string& account, const std::string& password);

int WindowHeight(HWND window);

}  // namespace corvalin::testing
