#include "support/process_holdings.h"

#include <winternl.h>

#include <vector>

namespace corvalin::testing {

ProcessHoldings HoldingsOf(DWORD processId) {
    // The list's size is not known in advance; grow until it fits.
    std::vector<unsigned char> list(256 * 1024);
    NTSTATUS status = 0;
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        status = NtQuerySystemInformation(SystemProcessInformation, list.data(), static_cast<ULONG>(list.size()),
                                          &needed);
        if (status != static_cast<NTSTATUS>(0xC0000004L)) break;   // STATUS_INFO_LENGTH_MISMATCH
        list.resize(needed > list.size() ? needed + 64 * 1024 : list.size() * 2);
    }
    ProcessHoldings holdings;
    if (status != 0) return holdings;
    for (std::size_t offset = 0;;) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data() + offset);
        if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId)) == processId) {
            holdings.known = true;
            holdings.handles = entry->HandleCount;
            holdings.privateBytes = entry->VirtualMemoryCounters.PagefileUsage;
            holdings.workingSet = entry->VirtualMemoryCounters.WorkingSetSize;
            return holdings;
        }
        if (entry->NextEntryOffset == 0) return holdings;
        offset += entry->NextEntryOffset;
    }
}

}  // namespace corvalin::testing
