// Memory exhaustion is a fatal runtime error: the program's operator new
// reports the size it could not get instead of throwing.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "shell/runtime.h"

namespace {

[[noreturn]] void ReportAllocationFailure(std::size_t size) {
    // Fixed buffers: the heap has just failed.
    char message[96];
    std::snprintf(message, sizeof message, "分配 %llu 字节内存失败!", static_cast<unsigned long long>(size));
    corvalin::shell::FatalError(std::nullopt, message);
}

}  // namespace

void* operator new(std::size_t size) {
    if (size == 0) size = 1;
    if (void* memory = std::malloc(size)) return memory;
    ReportAllocationFailure(size);
}

void* operator new[](std::size_t size) { return ::operator new(size); }
