// Attaching to the real browser box, as the client does before every use.
#include <gtest/gtest.h>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"

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

}  // namespace
}  // namespace corvalin
