#include "support/gui_objects.h"

#include <winternl.h>

#include <cstdint>
#include <vector>

namespace corvalin::testing {
namespace {

// One entry of the shared GDI handle table: 24 bytes in a 64-bit process,
// 16 in a 32-bit one.
struct GdiHandleEntry {
    void* object;
    std::uint32_t owner;     // low word: process id on Windows, 0 under Wine
    std::uint16_t unique;
    std::uint8_t type;       // 0: free
    std::uint8_t flags;
    void* userPointer;
};
static_assert(sizeof(GdiHandleEntry) == (sizeof(void*) == 8 ? 24 : 16));

constexpr int kMaxGdiHandles = 0x10000;

// The process's shared GDI handle table, read out of its memory.
std::vector<GdiHandleEntry> SharedHandleTable(HANDLE process) {
    using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(process, 0, &basic, sizeof basic, nullptr) != 0 || !basic.PebBaseAddress) return {};
    // PEB.GdiSharedHandleTable: 0xF8 in the 64-bit layout, 0x94 in the 32-bit one.
    constexpr std::size_t kOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const void* table = nullptr;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, static_cast<const std::uint8_t*>(static_cast<const void*>(basic.PebBaseAddress)) + kOffset,
                           &table, sizeof table, &read) || !table)
        return {};
    std::vector<GdiHandleEntry> entries(kMaxGdiHandles);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiHandleEntry), &read)) return {};
    entries.resize(read / sizeof(GdiHandleEntry));
    return entries;
}

struct WindowCount {
    DWORD processId = 0;
    DWORD count = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++reinterpret_cast<WindowCount*>(count)->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != reinterpret_cast<WindowCount*>(count)->processId) return TRUE;
    ++reinterpret_cast<WindowCount*>(count)->count;
    EnumChildWindows(window, CountChild, count);
    return TRUE;
}

}  // namespace

std::map<int, DWORD> GdiObjectsByType(HANDLE process) {
    const std::uint16_t owner = static_cast<std::uint16_t>(GetProcessId(process));
    std::map<int, DWORD> counts;
    // Wine's table is the process's own and leaves the owner 0.
    for (const GdiHandleEntry& entry : SharedHandleTable(process))
        if (entry.type != 0 && (entry.owner == 0 || static_cast<std::uint16_t>(entry.owner) == owner))
            ++counts[entry.type & 0x1F];
    return counts;
}

DWORD GdiObjectCount(HANDLE process) {
    if (const DWORD reported = GetGuiResources(process, GR_GDIOBJECTS)) return reported;
    DWORD count = 0;
    for (const auto& [type, n] : GdiObjectsByType(process)) count += n;
    return count;
}

DWORD UserObjectCount(HANDLE process) {
    if (const DWORD reported = GetGuiResources(process, GR_USEROBJECTS)) return reported;
    WindowCount count{GetProcessId(process), 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count.count;
}

}  // namespace corvalin::testing
