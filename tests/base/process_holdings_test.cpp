#include "support/process_holdings.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "base/unique.h"
#include "support/child_process.h"

namespace corvalin::testing {
namespace {

TEST(ProcessHoldingsTest, HandlesAndPrivateMemoryOfThisProcessFollowWhatItTakes) {
    const ProcessHoldings before = HoldingsOf();
    ASSERT_TRUE(before.known);
    std::vector<UniqueHandle> events;
    for (int i = 0; i < 100; ++i) events.emplace_back(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    const SIZE_T size = 48u << 20;
    void* block = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, size);
    const ProcessHoldings during = HoldingsOf();
    EXPECT_GE(during.handles, before.handles + 100);
    EXPECT_GE(during.privateBytes, before.privateBytes + (40u << 20));

    // Handles closed and taken again are not counted twice: under Wine the
    // figure is the size of the handle table, which does not shrink, so a
    // leak shows as growth and reuse as none.
    events.clear();
    VirtualFree(block, 0, MEM_RELEASE);
    for (int i = 0; i < 100; ++i) events.emplace_back(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    const ProcessHoldings after = HoldingsOf();
    EXPECT_LE(after.handles, during.handles + 5);
    EXPECT_LT(after.privateBytes, during.privateBytes - (40u << 20));
}

TEST(ProcessHoldingsTest, AnotherProcessIsReadUntilItEnds) {
    ChildProcess child;
    // cmd waits on its input pipe until it is ended.
    ASSERT_TRUE(child.StartWithInput("\"C:\\windows\\system32\\cmd.exe\" /q", {}));
    ProcessHoldings held;
    for (int i = 0; i < 100 && !(held = HoldingsOf(child.id())).handles; ++i) Sleep(50);
    EXPECT_TRUE(held.known);
    EXPECT_GT(held.handles, 0u);
    EXPECT_GT(held.privateBytes, 0u);
    EXPECT_GT(held.workingSet, 0u);
    const DWORD id = child.id();
    child.Terminate();
    EXPECT_FALSE(HoldingsOf(id).known);
}

}  // namespace
}  // namespace corvalin::testing
