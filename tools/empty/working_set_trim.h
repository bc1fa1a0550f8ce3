// Emptying another process's working set: what empty.exe does for its one
// argument, a process id or a task (image) name.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace corvalin::empty {

// The argument read as a decimal process id; nothing when it is not one
// (empty, a sign, a non-digit, or too large for a DWORD).
std::optional<DWORD> ParseProcessId(const std::string& argument);

// Ids of the running processes whose image name is `taskName`, compared
// without regard to case; "notepad" also matches "notepad.exe".
std::vector<DWORD> FindProcessesByName(const std::string& taskName);

// Asks the system to take every page of the process out of its working set;
// false when the process cannot be opened or refuses.
bool EmptyProcessWorkingSet(DWORD processId);

// The whole program on its argument list; returns its exit code (0 when at
// least one process was trimmed, 1 for the usage text, 2 when nothing was).
int RunEmpty(int argc, char** argv);

}  // namespace corvalin::empty
