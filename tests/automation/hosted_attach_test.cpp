// Attaching to the real browser box, as the client does before every use.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"
#include "browser/om/dispatch_object.h"
#include "support/child_process.h"
#include "support/gui_objects.h"
#include "support/process_holdings.h"
#include "support/message_pump.h"
#include "support/temp_folder.h"

namespace corvalin {
namespace {

// The reference count of an object, read through a balanced AddRef/Release.
ULONG References(IDispatch* object) {
    object->AddRef();
    return object->Release();
}

TEST(HostedAttachTest, FindsTheBoxsRenderingWindowSeveralLevelsDown) {
    testing::HostedPage page(3);
    ASSERT_TRUE(page.Load("<html><body><span id=zt_msg>ready</span></body></html>"));
    PageAutomation automation;
    EXPECT_EQ(automation.FindBrowserServerWindow(page.top()), page.renderingWindow());
    ASSERT_TRUE(automation.AttachBrowser(page.top()));
    EXPECT_EQ(automation.GetSpanInnerHtml("zt_msg"), "ready");
}

TEST(HostedAttachTest, RenderingWindowItselfServesTheDocument) {
    testing::HostedPage page;
    ASSERT_TRUE(page.Load("<html><body><span id=zt_msg>direct</span></body></html>"));
    PageAutomation automation;
    AutomationObject document;
    ASSERT_TRUE(automation.DocumentFromWindow(page.renderingWindow(), document));
    EXPECT_EQ(document.GetObject("body").GetText("innerText"), "direct");
}

TEST(HostedAttachTest, AttachingTwiceHoldsOneReference) {
    testing::HostedPage page;
    ASSERT_TRUE(page.Load("<html><body>x</body></html>"));
    PageAutomation automation;
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    AutomationObject document = automation.GetDocument();
    const ULONG once = References(document.get());
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    EXPECT_EQ(automation.GetDocument().get(), document.get());
    EXPECT_EQ(References(document.get()), once);
    automation.Detach();
    EXPECT_EQ(References(document.get()), once - 1);
    EXPECT_TRUE(automation.GetDocument().IsEmpty());
}

TEST(HostedAttachTest, AttachingAgainAfterNavigationTakesTheNewDocument) {
    testing::HostedPage page;
    ASSERT_TRUE(page.Load("<html><body><span id=zt_msg>first</span></body></html>"));
    PageAutomation automation;
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    ASSERT_TRUE(page.Load("<html><body><span id=zt_msg>second</span></body></html>"));
    // The held document is not checked for staleness: the old page answers
    // until the next attach.
    EXPECT_EQ(automation.GetSpanInnerHtml("zt_msg"), "first");
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    EXPECT_EQ(automation.GetSpanInnerHtml("zt_msg"), "second");
}

TEST(HostedAttachTest, ReadsOnAnEmptyObjectAnswerEmpty) {
    testing::HostedPage page;
    ASSERT_TRUE(page.Load("<html><body><input name=a></body></html>"));
    PageAutomation automation;
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    const AutomationObject missing = automation.FindTextInput("b");
    EXPECT_TRUE(missing.IsEmpty());
    EXPECT_EQ(missing.GetText("value"), "");
    // A member the element does not have reads empty too.
    EXPECT_EQ(automation.FindTextInput("a").GetText("noSuchMember"), "");
}

TEST(HostedAttachTest, AThousandAttachesLeaveNoObjectsOrHandlesBehind) {
    testing::HostedPage page;
    ASSERT_TRUE(page.Load("<html><body><span id=zt_msg>online</span></body></html>"));
    PageAutomation automation;
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    ASSERT_EQ(automation.GetSpanInnerHtml("zt_msg"), "online");
    const std::size_t objects = browser::om::DispatchObject::LiveCount();
    const DWORD handles = testing::HoldingsOf().handles;
    const DWORD gdi = testing::GdiObjectCount(), user = testing::UserObjectCount();
    int failures = 0;
    for (int i = 0; i < 1000; ++i) {
        if (!automation.AttachBrowser(page.box())) ++failures;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(automation.GetSpanInnerHtml("zt_msg"), "online");
    EXPECT_EQ(browser::om::DispatchObject::LiveCount(), objects);
    EXPECT_EQ(testing::GdiObjectCount(), gdi);
    EXPECT_EQ(testing::UserObjectCount(), user);
    EXPECT_LE(testing::HoldingsOf().handles, handles + 4);
}

TEST(HostedAttachTest, ADocumentLeftBehindByNavigationIsReleased) {
    testing::HostedPage page;
    ASSERT_TRUE(page.Load("<html><body><span id=zt_msg>first</span></body></html>"));
    PageAutomation automation;
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    AutomationObject first = automation.GetDocument();
    automation.Detach();
    ASSERT_TRUE(page.Load("<html><body><span id=zt_msg>second</span></body></html>"));
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    EXPECT_EQ(automation.GetSpanInnerHtml("zt_msg"), "second");
    // Only this test's reference keeps the old document: the box let it go.
    EXPECT_EQ(References(first.get()), 1u);
}

TEST(HostedAttachTest, AnotherProcessReadsTheStatusThroughTheSameMessage) {
    testing::HostedPage page;
    ASSERT_TRUE(page.Load("<html><body><span id=zt_msg>在线</span></body></html>"));
    testing::TempFolder folder;
    const std::string output = folder.File("probe.txt");
    testing::ChildProcess probe;
    ASSERT_TRUE(probe.Start("\"" + testing::ProgramFolder() + "\\attach-probe.exe\" " +
                                std::to_string(reinterpret_cast<INT_PTR>(page.box())),
                            output));
    // The probe's requests and calls come to this thread: keep its queue running.
    ASSERT_TRUE(testing::PumpUntil([&] { return !probe.Running(); }, 30000));
    EXPECT_EQ(probe.Wait(0), 0);
    EXPECT_EQ(testing::ReadWholeFile(output), "在线\nscript");
}

}  // namespace
}  // namespace corvalin
