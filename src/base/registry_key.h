// Registry keys named by their whole path ("HKEY_CURRENT_USER\Software\..."):
// the root before the first "\" and the sub-key after it.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/unique.h"

namespace corvalin {

class RegistryKey {
public:
    // Opens the key at `path` for writing, creating it when it is missing.
    // Closed when the root is not one of the four named roots or the
    // system refuses.
    static RegistryKey Create(std::string_view path);
    // Opens the key at `path` for reading; closed when it is missing.
    static RegistryKey Open(std::string_view path);

    bool IsOpen() const { return static_cast<bool>(key_); }
    bool SetDword(const char* name, DWORD value) const;
    std::optional<DWORD> GetDword(const char* name) const;

private:
    explicit RegistryKey(HKEY key) : key_(key) {}
    UniqueRegistryKey key_;
};

// The key a root name stands for: HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE or HKEY_USERS; null for any other name.
HKEY RegistryRoot(std::string_view name);

// While it lives, a root name stands for a key of the caller's (a test's
// key opened without the right to write, to see a refusal handled).
class RegistryRootOverride {
public:
    RegistryRootOverride(std::string_view rootName, HKEY key);
    RegistryRootOverride(const RegistryRootOverride&) = delete;
    RegistryRootOverride& operator=(const RegistryRootOverride&) = delete;
    ~RegistryRootOverride();

private:
    std::string rootName_;
};

}  // namespace corvalin
