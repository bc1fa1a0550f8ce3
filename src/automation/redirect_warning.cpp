#include "automation/page_automation.h"

#include "base/registry_key.h"

namespace corvalin {

void PageAutomation::SetRedirectWarning(int value) const {
    static const char* const kInternetSettings[] = {
        "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
    };
    // A user without the right to write the machine's settings still gets
    // their own: each write stands alone and a refusal is not reported.
    for (const char* path : kInternetSettings)
        RegistryKey::Create(path).SetDword("WarnOnHTTPSToHTTPRedirect", static_cast<DWORD>(value));
}

}  // namespace corvalin
