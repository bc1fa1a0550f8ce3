#include "automation/api_hook.h"

#include <algorithm>
#include <cstring>

namespace corvalin {

namespace {

constexpr char kPatched[] = "继续";
constexpr char kPaused[] = "暂停";

bool WriteCode(std::uint8_t* address, const std::uint8_t* bytes, size_t size) {
    SIZE_T written = 0;
    const bool ok = WriteProcessMemory(GetCurrentProcess(), address, bytes, size, &written) && written == size;
    FlushInstructionCache(GetCurrentProcess(), address, size);
    return ok;
}

}  // namespace

ApiHook::~ApiHook() {
    while (!entries_.empty()) Uninstall(entries_.back().module, entries_.back().function);
}

std::array<std::uint8_t, ApiHook::kPatchSize> ApiHook::JumpTo(const void* replacement) {
    std::array<std::uint8_t, kPatchSize> patch{};
    const auto target = reinterpret_cast<std::uintptr_t>(replacement);
#ifdef _WIN64
    patch[0] = 0x48;   // mov rax, imm64
    patch[1] = 0xB8;
    std::memcpy(&patch[2], &target, sizeof target);
    patch[10] = 0xFF;   // jmp rax
    patch[11] = 0xE0;
#else
    patch[0] = 0xB8;   // mov eax, imm32
    std::memcpy(&patch[1], &target, sizeof target);
    patch[5] = 0xFF;   // jmp eax
    patch[6] = 0xE0;
#endif
    return patch;
}

ApiHook::Entry* ApiHook::Find(std::string_view module, std::string_view function) {
    const std::string key = std::string(module) + std::string(function);
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
    return it == entries_.end() ? nullptr : &*it;
}

bool ApiHook::Install(std::string_view module, std::string_view function, const void* replacement) {
    if (Entry* existing = Find(module, function)) {
        Resume(*existing);
        return existing->state == kPatched;
    }
    Entry entry;
    entry.module = module;
    entry.function = function;
    entry.key = entry.module + entry.function;
    entry.replacement = replacement;
    HMODULE handle = GetModuleHandleA(entry.module.c_str());
    if (!handle) handle = LoadLibraryA(entry.module.c_str());
    if (!handle) return false;
    entry.address = reinterpret_cast<std::uint8_t*>(GetProcAddress(handle, entry.function.c_str()));
    if (!entry.address) return false;
    std::memcpy(entry.saved.data(), entry.address, kSavedSize);
    entry.patch = JumpTo(replacement);
    // The saved bytes may run into the next page: the protection covers them
    // all, from the function's own address.
    if (!VirtualProtectEx(GetCurrentProcess(), entry.address, kSavedSize, PAGE_EXECUTE_READWRITE,
                          &entry.oldProtection)) {
        return false;
    }
    if (!WriteCode(entry.address, entry.patch.data(), kPatchSize)) {
        DWORD ignored = 0;
        VirtualProtectEx(GetCurrentProcess(), entry.address, kSavedSize, entry.oldProtection, &ignored);
        return false;
    }
    entry.state = kPatched;
    entries_.push_back(std::move(entry));
    return true;
}

void ApiHook::Uninstall(std::string_view module, std::string_view function) {
    Entry* entry = Find(module, function);
    if (!entry) return;
    WriteCode(entry->address, entry->saved.data(), kSavedSize);
    // Back to what it was (code pages are execute-read), not to a fixed value.
    DWORD ignored = 0;
    VirtualProtectEx(GetCurrentProcess(), entry->address, kSavedSize, entry->oldProtection, &ignored);
    entries_.erase(entries_.begin() + (entry - entries_.data()));
}

void ApiHook::Pause(Entry& entry) {
    if (WriteCode(entry.address, entry.saved.data(), kSavedSize)) entry.state = kPaused;
}

void ApiHook::Resume(Entry& entry) {
    if (WriteCode(entry.address, entry.patch.data(), kPatchSize)) entry.state = kPatched;
}

}  // namespace corvalin
