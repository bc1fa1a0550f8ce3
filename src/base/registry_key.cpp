#include "base/registry_key.h"

#include <map>

namespace corvalin {

namespace {

std::map<std::string, HKEY, std::less<>>& RootOverrides() {
    static std::map<std::string, HKEY, std::less<>> overrides;
    return overrides;
}

// The root key and the sub-key of a path; a null root when it names none.
std::pair<HKEY, std::string> SplitPath(std::string_view path) {
    const size_t slash = path.find('\\');
    const std::string_view root = path.substr(0, slash);
    const std::string_view subKey = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    return {RegistryRoot(root), std::string(subKey)};
}

}  // namespace

HKEY RegistryRoot(std::string_view name) {
    if (auto it = RootOverrides().find(name); it != RootOverrides().end()) return it->second;
    if (name == "HKEY_CLASSES_ROOT") return HKEY_CLASSES_ROOT;
    if (name == "HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
    if (name == "HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
    if (name == "HKEY_USERS") return HKEY_USERS;
    return nullptr;
}

RegistryKey RegistryKey::Create(std::string_view path) {
    const auto [root, subKey] = SplitPath(path);
    HKEY key = nullptr;
    if (!root || RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                 nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return RegistryKey(nullptr);
    }
    return RegistryKey(key);
}

RegistryKey RegistryKey::Open(std::string_view path) {
    const auto [root, subKey] = SplitPath(path);
    HKEY key = nullptr;
    if (!root || RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return RegistryKey(nullptr);
    return RegistryKey(key);
}

bool RegistryKey::SetDword(const char* name, DWORD value) const {
    return key_ && RegSetValueExA(key_.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                  sizeof value) == ERROR_SUCCESS;
}

std::optional<DWORD> RegistryKey::GetDword(const char* name) const {
    DWORD type = 0, value = 0, size = sizeof value;
    if (!key_ || RegQueryValueExA(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                     ERROR_SUCCESS || type != REG_DWORD) {
        return std::nullopt;
    }
    return value;
}

RegistryRootOverride::RegistryRootOverride(std::string_view rootName, HKEY key) : rootName_(rootName) {
    RootOverrides()[rootName_] = key;
}

RegistryRootOverride::~RegistryRootOverride() { RootOverrides().erase(rootName_); }

}  // namespace corvalin
