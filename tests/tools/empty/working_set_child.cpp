// A process with a large working set for the tool's tests: touches 64 MB,
// then waits until it is ended.
#include <windows.h>

int main() {
    const SIZE_T size = 64u << 20;
    auto* block = static_cast<volatile char*>(
        VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!block) return 1;
    for (SIZE_T i = 0; i < size; i += 4096) block[i] = static_cast<char>(i >> 12);
    for (;;) Sleep(1000);
}
