#include "support/gui_objects.h"

#include <winternl.h>

#include <cstdint>

namespace corvalin::testing {
namespace {

// One entry of the shared GDI handle table (24 bytes on 64-bit and 32-bit
// builds of Wine and of Windows since Vista's 64-bit layout).
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;     // low word: process id on Windows, 0 under Wine
    std::uint16_t unique;
    std::uint8_t type;       // 0: free
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);

constexpr int kMaxGdiHandles = 0x10000;

const GdiHandleEntry* SharedHandleTable() {
    using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(GetCurrentProcess(), 0, &basic, sizeof basic, nullptr) != 0 || !basic.PebBaseAddress)
        return nullptr;
    const auto* peb = reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress);
    // PEB.GdiSharedHandleTable: 0xF8 in the 64-bit layout, 0x94 in the 32-bit one.
    constexpr std::size_t kOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    return *reinterpret_cast<const GdiHandleEntry* const*>(peb + kOffset);
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<DWORD*>(count);
    EnumChildWindows(window, CountChild, count);
    return TRUE;
}

}  // namespace

DWORD GdiObjectCount() {
    if (const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return reported;
    const GdiHandleEntry* table = SharedHandleTable();
    if (!table) return 0;
    const std::uint16_t self = static_cast<std::uint16_t>(GetCurrentProcessId());
    DWORD count = 0;
    for (int i = 0; i < kMaxGdiHandles; ++i)
        // Wine's table is the process's own and leaves the owner 0.
        if (table[i].type != 0 && (table[i].owner == 0 || static_cast<std::uint16_t>(table[i].owner) == self)) ++count;
    return count;
}

DWORD UserObjectCount() {
    if (const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return reported;
    DWORD count = 0;
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace corvalin::testing
