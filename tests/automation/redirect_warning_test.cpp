// The browser setting written into the real registry of the test's prefix.
#include <cstring>
#include <optional>

#include <gtest/gtest.h>

#include "automation/page_automation.h"
#include "base/registry_key.h"

namespace corvalin {
namespace {

constexpr char kUserSettings[] = "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr char kMachineSettings[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr char kValue[] = "WarnOnHTTPSToHTTPRedirect";

// The prefix is shared by every test program: each test leaves the two values
// as it found them, absent ones removed.
class RedirectWarningTest : public ::testing::Test {
protected:
    void SetUp() override {
        user_ = RegistryKey::Open(kUserSettings).GetDword(kValue);
        machine_ = RegistryKey::Open(kMachineSettings).GetDword(kValue);
    }
    void TearDown() override {
        Restore(HKEY_CURRENT_USER, kUserSettings, user_);
        Restore(HKEY_LOCAL_MACHINE, kMachineSettings, machine_);
    }

private:
    static void Restore(HKEY root, const char* path, std::optional<DWORD> value) {
        if (value) {
            RegistryKey::Create(path).SetDword(kValue, *value);
            return;
        }
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, std::strchr(path, '\\') + 1, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        const UniqueRegistryKey owner(key);
        RegDeleteValueA(key, kValue);
    }

    std::optional<DWORD> user_, machine_;
};

TEST_F(RedirectWarningTest, WritesTheValueForTheUserAndTheMachine) {
    PageAutomation automation;
    for (int value : {0, 1}) {
        automation.SetRedirectWarning(value);
        EXPECT_EQ(RegistryKey::Open(kUserSettings).GetDword(kValue), static_cast<DWORD>(value));
        EXPECT_EQ(RegistryKey::Open(kMachineSettings).GetDword(kValue), static_cast<DWORD>(value));
    }
}

TEST_F(RedirectWarningTest, AMachineKeyThatRefusesTheWriteIsPassedOver) {
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
}

}  // namespace
}  // namespace corvalin
