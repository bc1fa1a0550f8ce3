#include "skin/working_set.h"

#include <shlwapi.h>

#include <cstddef>
#include <cstdio>

#include "base/unique.h"

extern const unsigned char WorkingSetTool[];
extern const std::size_t WorkingSetToolSize;

namespace corvalin {

std::string WorkingSetToolPath() {
    char folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("windir", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::string path(folder, length);
    if (path.back() != '\\' && path.back() != '/') path += '\\';
    return path + "empty.exe";
}

bool EnsureWorkingSetTool(const std::string& path) {
    if (path.empty()) return false;
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    char suffix[48];
    std::snprintf(suffix, sizeof(suffix), ".%lu.%lu.tmp", GetCurrentProcessId(), GetCurrentThreadId());
    const std::string temporary = path + suffix;
    {
        UniqueFile file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD written = 0;
        const BOOL ok = WriteFile(file.get(), WorkingSetTool, static_cast<DWORD>(WorkingSetToolSize),
                                  &written, nullptr);
        if (!ok || written != WorkingSetToolSize) {
            file.reset();
            DeleteFileA(temporary.c_str());
            return false;
        }
    }
    // Another job may have put the tool in place meanwhile; its copy is as good.
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) DeleteFileA(temporary.c_str());
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RunWorkingSetTool(const std::string& path, DWORD processId) {
    if (path.empty()) return false;
    std::string commandLine = "\"" + path + "\" " + std::to_string(processId);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &info)) {
        return false;
    }
    UniqueHandle process(info.hProcess), thread(info.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    return true;
}

DWORD WINAPI TrimWorkingSet(void*) {
    const std::string path = WorkingSetToolPath();
    if (EnsureWorkingSetTool(path)) RunWorkingSetTool(path, GetCurrentProcessId());
    return 0;
}

void StartWorkingSetTrim() {
    SHCreateThread(TrimWorkingSet, nullptr, 0, nullptr);
}

}  // namespace corvalin
