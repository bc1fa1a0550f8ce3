// The colour text the popups use and the wait that keeps the window alive.
#include <gtest/gtest.h>

#include "automation/page_automation.h"

namespace corvalin {
namespace {

TEST(DelayAndColorsTest, ColorToHexWritesRedGreenBlueWithLeadingZeros) {
    PageAutomation automation;
    const struct {
        int color;
        const char* hex;
    } cases[] = {
        {12632256, "C0C0C0"}, {255, "FF0000"}, {0xFF0000, "0000FF"}, {0x000A0B, "0B0A00"}, {0, "000000"},
        {16777215, "FFFFFF"},
    };
    for (const auto& c : cases) EXPECT_EQ(automation.ColorToHex(c.color), c.hex) << c.color;
}

int ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++ticks; }

TEST(DelayAndColorsTest, DelayDispatchesMessagesWhileItWaits) {
    PageAutomation automation;
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &CountTick);
    ASSERT_NE(timer, 0u);
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(automation.Delay(200));
    const ULONGLONG elapsed = GetTickCount64() - start;
    KillTimer(nullptr, timer);
    EXPECT_GE(elapsed, 190u);   // the tick count's granularity
    EXPECT_GE(ticks, 2);        // a timer of the thread ran during the wait

}

}  // namespace
}  // namespace corvalin
