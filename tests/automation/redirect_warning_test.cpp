// The browser setting written into the real registry of the test's prefix.
#include <gtest/gtest.h>

#include "automation/page_automation.h"
#include "base/registry_key.h"

namespace corvalin {
namespace {

constexpr char kUserSettings[] = "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr char kMachineSettings[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr char kValue[] = "WarnOnHTTPSToHTTPRedirect";

TEST(RedirectWarningTest, WritesTheValueForTheUserAndTheMachine) {
    PageAutomation automation;
    for (int value : {0, 1}) {
        automation.SetRedirectWarning(value);
        EXPECT_EQ(RegistryKey::Open(kUserSettings).GetDword(kValue), static_cast<DWORD>(value));
        EXPECT_EQ(RegistryKey::Open(kMachineSettings).GetDword(kValue), static_cast<DWORD>(value));
    }
}

TEST(RedirectWarningTest, AMachineKeyThatRefusesTheWriteIsPassedOver) {
    PageAutomation automation;
    automation.SetRedirectWarning(0);
    {
        // Wine lets anyone write the machine's keys; a handle that is no key
        // stands in for a machine root that refuses.
        const UniqueHandle notAKey(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        const RegistryRootOverride machine("HKEY_LOCAL_MACHINE", static_cast<HKEY>(notAKey.get()));
        ASSERT_FALSE(RegistryKey::Create(kMachineSettings).IsOpen()) << "the stand-in accepted a write";
        automation.SetRedirectWarning(7);
    }
    EXPECT_EQ(RegistryKey::Open(kUserSettings).GetDword(kValue), 7u);
    EXPECT_EQ(RegistryKey::Open(kMachineSettings).GetDword(kValue), 0u);   // untouched
    automation.SetRedirectWarning(1);
}

}  // namespace
}  // namespace corvalin
