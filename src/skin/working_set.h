// The working-set job: each time the application loses activation the skin
// runs its own tool, empty.exe from the Windows directory, on this process.
#pragma once
#include <windows.h>

#include <string>

namespace corvalin {

// "%windir%\empty.exe"; empty when the variable is missing or empty, so the
// tool is never looked for in some other folder.
std::string WorkingSetToolPath();

// Writes the built-in tool to `path` unless a file is already there; false
// when it is missing afterwards. The bytes are written under a temporary name
// and moved into place, so a second job never starts a half-written file.
bool EnsureWorkingSetTool(const std::string& path);

// Runs the tool on `processId` with its window hidden and waits for it. The
// path is the application name and is quoted on the command line, so a
// Windows directory with spaces cannot start a different program.
bool RunWorkingSetTool(const std::string& path, DWORD processId);

// The thread routine: the three steps above for the current process. It
// touches no skin state.
DWORD WINAPI TrimWorkingSet(void* unused);

// Starts TrimWorkingSet on a new thread.
void StartWorkingSetTrim();

}  // namespace corvalin
