// Code patches on functions of this process: the first bytes of a function
// become a jump to a replacement routine, and the saved bytes are written
// back to undo it. Used for the length of one call by the file upload.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvalin {

class ApiHook {
public:
#ifdef _WIN64
    // mov rax, imm64; jmp rax
    static constexpr size_t kPatchSize = 12;
    static constexpr size_t kSavedSize = 16;
#else
    // mov eax, imm32; jmp eax
    static constexpr size_t kPatchSize = 7;
    static constexpr size_t kSavedSize = 8;
#endif

    struct Entry {
        std::string module;
        std::string function;
        std::string key;   // module + function
        std::uint8_t* address = nullptr;
        std::array<std::uint8_t, kSavedSize> saved{};
        std::array<std::uint8_t, kPatchSize> patch{};
        const void* replacement = nullptr;
        DWORD oldProtection = 0;
        std::string state;   // "继续" while patched, "暂停" while paused
    };

    ApiHook() = default;
    ApiHook(const ApiHook&) = delete;
    ApiHook& operator=(const ApiHook&) = delete;
    // Uninstalls every entry.
    ~ApiHook();

    // Patches `function` of `module` (loaded when it is not) to jump to
    // `replacement`; an entry already there is resumed. True when the patch
    // is in place.
    bool Install(std::string_view module, std::string_view function, const void* replacement);
    // Writes the saved bytes back, gives the memory its protection back and
    // forgets the entry.
    void Uninstall(std::string_view module, std::string_view function);
    void Pause(Entry& entry);
    void Resume(Entry& entry);

    Entry* Find(std::string_view module, std::string_view function);
    const std::vector<Entry>& Entries() const { return entries_; }

    // The patch bytes that jump to `replacement`.
    static std::array<std::uint8_t, kPatchSize> JumpTo(const void* replacement);

private:
    std::vector<Entry> entries_;
};

}  // namespace corvalin
