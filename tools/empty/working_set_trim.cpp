#include "working_set_trim.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>

#include "base/unique.h"

namespace corvalin::empty {
namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(),
                                                  static_cast<int>(a.size()), b.data(),
                                                  static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool EndsWithExe(const std::string& name) {
    return name.size() >= 4 && SameNameIgnoringCase(name.substr(name.size() - 4), ".exe");
}

}  // namespace

std::optional<DWORD> ParseProcessId(const std::string& argument) {
    if (argument.empty() || argument.size() > 10) return std::nullopt;
    unsigned long long value = 0;
    for (char c : argument) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > MAXDWORD) return std::nullopt;
    return static_cast<DWORD>(value);
}

std::vector<DWORD> FindProcessesByName(const std::string& taskName) {
    std::vector<DWORD> ids;
    if (taskName.empty()) return ids;
    const std::string wanted = EndsWithExe(taskName) ? taskName : taskName + ".exe";
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return ids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry)) {
        if (SameNameIgnoringCase(entry.szExeFile, wanted)) ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

bool EmptyProcessWorkingSet(DWORD processId) {
    UniqueHandle process(
        OpenProcess(PROCESS_SET_QUOTA | PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!process) return false;
    if (EmptyWorkingSet(process.get())) return true;
    // Older systems know only the quota call; (-1, -1) means "trim everything".
    return SetProcessWorkingSetSize(process.get(), static_cast<SIZE_T>(-1),
                                    static_cast<SIZE_T>(-1)) != FALSE;
}

int RunEmpty(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '\0') {
        std::printf("USAGE: empty.exe {pid | task-name}\n");
        return 1;
    }
    const std::string argument = argv[1];
    std::vector<DWORD> targets;
    if (auto id = ParseProcessId(argument)) {
        targets.push_back(*id);
    } else {
        targets = FindProcessesByName(argument);
    }
    int trimmed = 0;
    for (DWORD id : targets) {
        if (EmptyProcessWorkingSet(id)) ++trimmed;
    }
    return trimmed > 0 ? 0 : 2;
}

}  // namespace corvalin::empty
