// The program's run: start-up, the message loop, exit and fatal errors.
#pragma once
#include <functional>
#include <optional>
#include <string>

namespace corvalin::shell {

// OLE for the thread, the current directory set to the program's folder,
// the hidden message window, the forms. Call once, first.
void InitializeRuntime();

// The routine ExitProgram runs (once) before the process ends.
void RegisterExitRoutine(std::function<void()> routine);

// Dispatches messages while a loaded window exists; returns 0 when the last
// one is gone.
int RunMessageLoop();

// Dispatches the messages waiting in the thread's queue, then returns.
void ProcessPendingEvents();

// Destroys the loaded windows, runs the exit routine and ends the process.
[[noreturn]] void ExitProgram(int code);

// The runtime error box ("错误", "运行时出错!" with the code and message when
// given), then ExitProgram(-1).
[[noreturn]] void FatalError(std::optional<int> code, const std::string& message);

// MessageBoxA without an owner; task-modal unless MB_SYSTEMMODAL is asked.
// Answers 0 OK, 1 Cancel, 2 Abort, 3 Retry, 4 Ignore, 5 Yes, 6 No.
int ShowMessageBox(const std::string& text, unsigned style, const std::string& title);

// The shell's "open" action on an address; the outcome is ignored.
void OpenAddress(const std::string& address);

}  // namespace corvalin::shell
