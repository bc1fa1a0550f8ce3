#include "automation/page_automation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "automation/fake_browser_window.h"
#include "automation/fake_dispatch.h"

namespace corvalin {
namespace {

using Microsoft::WRL::ComPtr;
using testing::CreateContainerWindow;
using testing::CreateFakeBrowserServer;
using testing::FakeDispatch;
using testing::FakePage;

class PageAutomationTest : public ::testing::Test {
protected:
    FakePage page;
    PageAutomation automation;
};

TEST_F(PageAutomationTest, FindsTheRenderingWindowNestedSeveralLevelsDeep) {
    UniqueWindow box = CreateContainerWindow(nullptr);
    UniqueWindow first = CreateContainerWindow(box.get());
    UniqueWindow second = CreateContainerWindow(first.get());
    UniqueWindow third = CreateContainerWindow(second.get());
    UniqueWindow server = CreateFakeBrowserServer(third.get(), page.document.Get());
    ASSERT_TRUE(server);

    EXPECT_EQ(automation.FindBrowserServerWindow(box.get()), server.get());
    EXPECT_TRUE(automation.AttachBrowser(box.get()));
    EXPECT_EQ(automation.GetDocument().get(), static_cast<IDispatch*>(page.document.Get()));
    EXPECT_EQ(automation.hostWindow(), box.get());
}

TEST_F(PageAutomationTest, FirstMatchInDepthFirstOrderWins) {
    FakePage later;
    UniqueWindow box = CreateContainerWindow(nullptr);
    // The first child's subtree is searched before the second child itself.
    UniqueWindow branch = CreateContainerWindow(box.get());
    UniqueWindow deep = CreateFakeBrowserServer(branch.get(), page.document.Get());
    UniqueWindow shallow = CreateFakeBrowserServer(box.get(), later.document.Get());
    // New children go to the bottom of their siblings' order, so the branch,
    // created first, is enumerated first.
    ASSERT_EQ(FindWindowExA(box.get(), nullptr, nullptr, nullptr), branch.get());

    EXPECT_EQ(automation.FindBrowserServerWindow(box.get()), deep.get());
    std::vector<HWND> list;
    EXPECT_TRUE(automation.ListBrowserServerWindows(box.get(), list));
    EXPECT_EQ(list, (std::vector<HWND>{deep.get(), shallow.get()}));
}

TEST_F(PageAutomationTest, RenderingWindowPassedDirectlyIsUsedWithoutSearch) {
    FakePage inner;
    UniqueWindow server = CreateFakeBrowserServer(nullptr, page.document.Get());
    // A rendering window below it would be found by a search; it must not be.
    UniqueWindow child = CreateFakeBrowserServer(server.get(), inner.document.Get());
    AutomationObject target;
    EXPECT_TRUE(automation.DocumentFromWindow(server.get(), target));
    EXPECT_EQ(target.get(), static_cast<IDispatch*>(page.document.Get()));
}

TEST_F(PageAutomationTest, AttachingTwiceHoldsOneReference) {
    UniqueWindow box = CreateContainerWindow(nullptr);
    UniqueWindow server = CreateFakeBrowserServer(box.get(), page.document.Get());
    const ULONG base = page.document->references();
    ASSERT_TRUE(automation.AttachBrowser(box.get()));
    EXPECT_EQ(page.document->references(), base + 1);
    ASSERT_TRUE(automation.AttachBrowser(box.get()));
    EXPECT_EQ(page.document->references(), base + 1);
    automation.Detach();
    EXPECT_EQ(page.document->references(), base);
    EXPECT_EQ(automation.hostWindow(), box.get());
}

TEST_F(PageAutomationTest, AttachReplacesTheDocumentOfAnEarlierPage) {
    FakePage next;
    UniqueWindow box = CreateContainerWindow(nullptr);
    UniqueWindow server = CreateFakeBrowserServer(box.get(), page.document.Get());
    ASSERT_TRUE(automation.AttachBrowser(box.get()));
    const ULONG base = page.document->references();
    server.reset();
    UniqueWindow navigated = CreateFakeBrowserServer(box.get(), next.document.Get());
    ASSERT_TRUE(automation.AttachBrowser(box.get()));
    EXPECT_EQ(page.document->references(), base - 1);
    EXPECT_EQ(automation.GetDocument().get(), static_cast<IDispatch*>(next.document.Get()));
}

TEST_F(PageAutomationTest, DetachedAndNeverAttachedObjectsHoldNoDocument) {
    EXPECT_TRUE(automation.GetDocument().IsEmpty());
    UniqueWindow server = CreateFakeBrowserServer(nullptr, page.document.Get());
    ASSERT_TRUE(automation.AttachBrowser(server.get()));
    automation.Detach();
    EXPECT_TRUE(automation.GetDocument().IsEmpty());
    EXPECT_EQ(automation.GetSpanInnerHtml("zt_msg"), "");
    EXPECT_FALSE(automation.ClickButton("button"));
}

TEST_F(PageAutomationTest, InvalidWindowChangesNothing) {
    UniqueWindow server = CreateFakeBrowserServer(nullptr, page.document.Get());
    ASSERT_TRUE(automation.AttachBrowser(server.get()));
    HWND gone;
    {
        UniqueWindow box = CreateContainerWindow(nullptr);
        gone = box.get();
    }
    EXPECT_FALSE(automation.AttachBrowser(gone));
    EXPECT_FALSE(automation.AttachBrowser(nullptr));
    EXPECT_EQ(automation.hostWindow(), server.get());
    EXPECT_EQ(automation.GetDocument().get(), static_cast<IDispatch*>(page.document.Get()));
}

TEST_F(PageAutomationTest, NoRenderingWindowKeepsTheEarlierDocument) {
    UniqueWindow server = CreateFakeBrowserServer(nullptr, page.document.Get());
    ASSERT_TRUE(automation.AttachBrowser(server.get()));
    UniqueWindow empty = CreateContainerWindow(nullptr);
    UniqueWindow child = CreateContainerWindow(empty.get());
    AutomationObject target = automation.GetDocument();
    EXPECT_FALSE(automation.DocumentFromWindow(empty.get(), target));
    EXPECT_FALSE(target.IsEmpty());
    // Still attached to the earlier page, so the attach reports true.
    EXPECT_TRUE(automation.AttachBrowser(empty.get()));
    EXPECT_EQ(automation.hostWindow(), empty.get());
    EXPECT_EQ(automation.GetDocument().get(), static_cast<IDispatch*>(page.document.Get()));
}

TEST_F(PageAutomationTest, WindowAnsweringWithoutADocumentFailsTheRequest) {
    UniqueWindow server = CreateFakeBrowserServer(nullptr, nullptr);
    AutomationObject target;
    EXPECT_FALSE(automation.DocumentFromWindow(server.get(), target));
    EXPECT_FALSE(automation.AttachBrowser(server.get()));
}

TEST_F(PageAutomationTest, HungRenderingWindowFailsWithinTheTimeout) {
    // The rendering window lives on a thread of its own whose handler sleeps.
    std::atomic<HWND> hung{nullptr};
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        UniqueWindow server = CreateFakeBrowserServer(nullptr, nullptr, 1800);
        hung = server.get();
        while (MsgWaitForMultipleObjects(1, &quit, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        }
    });
    while (!hung) Sleep(5);
    UniqueWindow box = CreateContainerWindow(nullptr);
    SetParent(hung, box.get());

    AutomationObject target;
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(automation.DocumentFromWindow(box.get(), target));
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_GE(elapsed, 900u);
    EXPECT_LT(elapsed, 1700u);
    EXPECT_TRUE(target.IsEmpty());

    SetParent(hung, nullptr);
    SetEvent(quit);
    owner.join();
    CloseHandle(quit);
}

TEST_F(PageAutomationTest, CopyHoldsItsOwnReferenceToTheSameDocument) {
    UniqueWindow server = CreateFakeBrowserServer(nullptr, page.document.Get());
    ASSERT_TRUE(automation.AttachBrowser(server.get()));
    const ULONG base = page.document->references();
    {
        PageAutomation copy(automation);
        EXPECT_EQ(page.document->references(), base + 1);
        EXPECT_EQ(copy.hostWindow(), server.get());
        copy.Detach();
        EXPECT_EQ(automation.GetDocument().get(), static_cast<IDispatch*>(page.document.Get()));
    }
    EXPECT_EQ(page.document->references(), base);
}

TEST_F(PageAutomationTest, DestructionReleasesTheDocument) {
    UniqueWindow server = CreateFakeBrowserServer(nullptr, page.document.Get());
    const ULONG base = page.document->references();
    {
        PageAutomation local;
        ASSERT_TRUE(local.AttachBrowser(server.get()));
        EXPECT_EQ(page.document->references(), base + 1);
    }
    EXPECT_EQ(page.document->references(), base);
}

int searchTicks;
void CALLBACK CountSearchTick(HWND, UINT, UINT_PTR, DWORD) { ++searchTicks; }

TEST_F(PageAutomationTest, SearchLetsPendingMessagesRun) {
    UniqueWindow box = CreateContainerWindow(nullptr);
    UniqueWindow first = CreateContainerWindow(box.get());
    UniqueWindow second = CreateContainerWindow(box.get());
    int& ticks = searchTicks;
    ticks = 0;
    // A plain function: a timer procedure is stdcall on 32-bit Windows.
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, CountSearchTick);
    Sleep(30);   // the timer is due before the search starts
    automation.FindBrowserServerWindow(box.get());
    KillTimer(nullptr, timer);
    EXPECT_GE(ticks, 1);
}

}  // namespace
}  // namespace corvalin
