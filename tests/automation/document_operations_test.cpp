// Operations on the document as a whole, against pages in a real browser box
// and a loopback server.
// Loopback server first: its socket header must come before windows.h.
#include "support/loopback_server.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"
#include "browser/browser_box.h"
#include "support/message_pump.h"

namespace corvalin {
namespace {

class DocumentOperationsTest : public testing::HostedPageTest {};

TEST_F(DocumentOperationsTest, PropertiesAndContentOfThePage) {
    Show("<html><head><title>标题</title></head><body><p id=p>第一段</p></body></html>");
    EXPECT_EQ(automation.GetTitle(), "标题");
    EXPECT_NE(automation.GetPageText().find("第一段"), std::string::npos);
    EXPECT_EQ(automation.GetPageHtml().find("<HTML>"), 0u) << automation.GetPageHtml();
    EXPECT_EQ(automation.GetLocation(), page.Evaluate("location.href"));
    EXPECT_FALSE(automation.GetCharset().empty());
    EXPECT_EQ(automation.GetFileSize(), page.Evaluate("document.fileSize"));
    EXPECT_EQ(automation.GetDocumentProperty("title"), "标题");
    EXPECT_TRUE(automation.SetDocumentProperty("title", "新标题"));
    EXPECT_EQ(automation.GetTitle(), "新标题");
    EXPECT_FALSE(automation.SetDocumentProperty("noSuchMember(", "x"));
    EXPECT_EQ(automation.GetDocumentProperty("noSuchMember("), "");
}

TEST_F(DocumentOperationsTest, WritingAfterTheLoadShowsWhatWasWritten) {
    Show("<html><body>before</body></html>");
    // No close: the page shows the text at once, as the browser does.
    automation.WriteHtml("<b id=w>written</b>");
    EXPECT_NE(automation.GetPageText().find("written"), std::string::npos) << automation.GetPageHtml();
    EXPECT_EQ(automation.GetPageText().find("before"), std::string::npos);
    automation.WriteHtml(" more");
    EXPECT_NE(automation.GetPageText().find("written more"), std::string::npos) << automation.GetPageHtml();

    automation.ReplaceDocument("<html><body><span id=r>replaced</span></body></html>");
    EXPECT_EQ(automation.GetPageText(), "replaced");
    EXPECT_EQ(page.Evaluate("document.getElementById('r').tagName"), "SPAN");
}

TEST_F(DocumentOperationsTest, ZoomIsWrittenAsAFraction) {
    Show("<html><body>zoom</body></html>");
    EXPECT_EQ(automation.SetZoom(150), 150);
    EXPECT_EQ(page.Evaluate("document.body.style.zoom"), "1.5");
}

TEST_F(DocumentOperationsTest, ScriptsRunInTheirLanguageAndLanguageTwoDoesNothing) {
    Show("<html><head><title>start</title></head><body></body></html>");
    automation.RunScript("document.title = 'two'", 2);
    EXPECT_EQ(automation.GetTitle(), "start");
    automation.RunScript("document.title = 'js' + (1 + 1)", 0);
    EXPECT_EQ(automation.GetTitle(), "js2");
    automation.RunScript("document.title = \"vb\" & (1 + 2)", 1);
    EXPECT_EQ(automation.GetTitle(), "vb3");
}

TEST_F(DocumentOperationsTest, SuppressedDialogsAreNotShownByThePage) {
    Show("<html><body><script>function ask(){alert('a'); var c = confirm('c'); prompt('p'); "
         "document.title = 'asked ' + c;}</script></body></html>");
    int dialogs = 0;
    browser::BrowserBox::FromWindow(page.box())->SetDialogHandler([&](const browser::DialogRequest&) {
        ++dialogs;
        return browser::DialogAnswer{};
    });
    automation.RunScript("ask()");
    EXPECT_EQ(dialogs, 3);
    automation.SuppressDialogs();
    automation.RunScript("ask()");
    EXPECT_EQ(dialogs, 3);
    EXPECT_EQ(automation.GetTitle(), "asked undefined");
}

TEST_F(DocumentOperationsTest, EnabledSelectionOverridesThePagesHandlers) {
    Show("<html><body><script>document.onselectstart = function(){ return false; };"
         "document.oncontextmenu = document.ondragstart = function(){ return false; };</script>text</body></html>");
    EXPECT_EQ(page.Evaluate("document.onselectstart()"), "0");
    automation.EnableSelectionAndContextMenu();
    EXPECT_EQ(page.Evaluate("document.onselectstart()"), "-1");
    EXPECT_EQ(page.Evaluate("document.oncontextmenu()"), "-1");
    EXPECT_EQ(page.Evaluate("document.onmousedown()"), "-1");
    EXPECT_EQ(page.Evaluate("document.ondragstart()"), "-1");
}

TEST_F(DocumentOperationsTest, SelectionIsEmptyWithoutOneAndPastingReplacesIt) {
    Show("<html><body><span id=s>pick <i>me</i></span> rest</body></html>");
    EXPECT_EQ(automation.GetSelection(), "");
    EXPECT_EQ(automation.GetSelection(1), "");
    page.Evaluate("(function(){var r = document.body.createTextRange();"
                  "r.moveToElementText(document.getElementById('s')); r.select();})()");
    EXPECT_EQ(automation.GetSelection(), "pick me");
    EXPECT_EQ(automation.GetSelection(1), "pick <I>me</I>");
    automation.PasteHtmlAtSelection("<u>new</u>");
    EXPECT_EQ(page.Evaluate("document.body.innerHTML"), "<SPAN id=s><U>new</U></SPAN> rest");
}

TEST_F(DocumentOperationsTest, HighlightWrapsEveryOccurrenceWithTheDefaultColours) {
    Show("<html><body><p id=p>QQ online, qq <i>again</i>, QQ</p></body></html>");
    std::string color, background;
    automation.HighlightText("QQ", color, background);
    EXPECT_EQ(color, "ff0000");
    EXPECT_EQ(background, "D6F20D");
    EXPECT_EQ(page.Evaluate("document.getElementById('p').getElementsByTagName('font').length"), "3");
    EXPECT_EQ(page.Evaluate("document.getElementById('p').innerText"), "QQ online, qq again, QQ");
    EXPECT_EQ(page.Evaluate("document.getElementById('p').getElementsByTagName('font')[1].innerText"), "qq");
    EXPECT_EQ(page.Evaluate("document.getElementById('p').getElementsByTagName('font')[0].style.backgroundColor"
                            ".toLowerCase()"),
              "#d6f20d");

    std::string green = "00ff00", none;
    automation.HighlightText("again", green, none, true);
    EXPECT_EQ(green, "00ff00");
    EXPECT_EQ(page.Evaluate("document.getElementById('p').getElementsByTagName('b')[0].innerText"), "again");
    EXPECT_EQ(page.Evaluate("document.getElementById('p').getElementsByTagName('b')[0].style.color.toLowerCase()"),
              "#00ff00");
}

TEST_F(DocumentOperationsTest, ElementMarkupReadsAndWrites) {
    Show("<html><body><div id=d><b>bold</b> text</div><div id=e>e</div></body></html>");
    const AutomationObject d = automation.GetDocument().CallObject("getElementById", "d");
    EXPECT_EQ(automation.GetElementInnerHtml(d), "<B>bold</B> text");
    EXPECT_EQ(automation.GetElementInnerText(d), "bold text");
    EXPECT_EQ(automation.GetElementOuterHtml(d), "<DIV id=d><B>bold</B> text</DIV>");
    EXPECT_EQ(automation.GetElementOuterText(d), "bold text");
    EXPECT_TRUE(automation.SetElementInnerText(d, "<i>plain</i>"));
    EXPECT_EQ(automation.GetElementInnerHtml(d), "&lt;i&gt;plain&lt;/i&gt;");
    EXPECT_TRUE(automation.SetElementInnerHtml(d, "<i>markup</i>"));
    EXPECT_EQ(automation.GetElementInnerText(d), "markup");
    const AutomationObject e = automation.GetDocument().CallObject("getElementById", "e");
    EXPECT_TRUE(automation.SetElementOuterHtml(e, "<span id=f>f</span>"));
    EXPECT_EQ(page.Evaluate("document.getElementById('f').tagName"), "SPAN");
    EXPECT_TRUE(automation.SetElementOuterText(d, "flat"));
    EXPECT_EQ(page.Evaluate("document.body.innerHTML"), "flat<SPAN id=f>f</SPAN>");
    // The empty element answers empty.
    EXPECT_EQ(automation.GetElementOuterHtml(AutomationObject()), "");
    EXPECT_FALSE(automation.SetElementInnerHtml(AutomationObject(), "x"));
}

TEST_F(DocumentOperationsTest, WaitingSeesTextThatAPageTimerWrites) {
    Show("<html><body><div id=d>wait</div><script>setTimeout(function(){"
         "document.getElementById('d').innerHTML = 'now <b>ready</b>';}, 300);</script></body></html>");
    EXPECT_TRUE(automation.WaitForPageText(page.box(), "now ready"));
    EXPECT_TRUE(automation.WaitForPageHtml(page.box(), "<B>ready</B>", 5000, automation.GetDocument()));
    // Case matters; a text that never comes ends the wait at its timeout.
    EXPECT_FALSE(automation.WaitForPageText(page.box(), "NOW READY", 700));
    EXPECT_FALSE(automation.WaitForPageHtml(page.box(), "never", 400, automation.GetDocument()));
    // A negative timeout allows one look, not an endless wait.
    EXPECT_FALSE(automation.WaitForPageText(page.box(), "never", -1));
}

TEST_F(DocumentOperationsTest, NoDocumentAnswersEmpty) {
    PageAutomation detached;
    EXPECT_EQ(detached.CountDocuments(), 0);
    EXPECT_EQ(detached.GetPageText(), "");
    EXPECT_EQ(detached.GetTitle(), "");
    EXPECT_EQ(detached.GetSelection(), "");
    EXPECT_EQ(detached.SetZoom(120), 120);
    int left = 7, top = 7;
    EXPECT_EQ(detached.GetScrollPosition(&left, &top), 0);
    EXPECT_EQ(left + top, 0);
    std::string url = "example.com";
    detached.NavigateTo(url);
    EXPECT_EQ(url, "http://example.com");
    std::string color, background;
    detached.HighlightText("x", color, background);
    EXPECT_EQ(color + background, "ff0000D6F20D");
}

// Navigation and frames, observed on a loopback server.
class ServedDocumentTest : public DocumentOperationsTest {
protected:
    void SetUp() override {
        server.server().Get(R"(/(\w*))", [this](const httplib::Request& request, httplib::Response& response) {
            const std::string name = request.matches[1];
            {
                std::lock_guard<std::mutex> lock(mutex);
                requested.push_back(request.path);
            }
            std::string body = "<html><head><title>" + name + "</title></head><body>" + name;
            if (name == "framed") body += "<iframe src=/inner></iframe><iframe src=/inner></iframe>";
            if (name == "mixed") body += "<iframe src=/inner></iframe><iframe src=/nested></iframe>";
            if (name == "nested") body += "<iframe src=/inner></iframe>";
            response.set_content(body + "</body></html>", "text/html");
        });
        ASSERT_GT(server.Start(), 0);
    }
    bool Requested(const std::string& path) {
        return testing::PumpUntil([&] {
            std::lock_guard<std::mutex> lock(mutex);
            for (const std::string& seen : requested) {
                if (seen == path) return true;
            }
            return false;
        });
    }
    bool TitleBecomes(const std::string& title) {
        return testing::PumpUntil([&] {
            automation.AttachBrowser(page.box());
            return automation.GetTitle() == title;
        });
    }

    testing::LoopbackServer server;
    std::mutex mutex;
    std::vector<std::string> requested;
};

TEST_F(ServedDocumentTest, AddressesWithoutTheSchemeGetHttpInFront) {
    Show("<html><body>start</body></html>");
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    std::string bare = host + "/bare";
    automation.NavigateTo(bare);
    EXPECT_EQ(bare, "http://" + host + "/bare");
    EXPECT_TRUE(Requested("/bare"));
    ASSERT_TRUE(TitleBecomes("bare"));

    // Any case of "http" at the front leaves the address alone.
    std::string upper = "HTTP://" + host + "/upper";
    automation.NavigateTo(upper);
    EXPECT_EQ(upper, "HTTP://" + host + "/upper");
    EXPECT_TRUE(Requested("/upper"));
    ASSERT_TRUE(TitleBecomes("upper"));
    std::string secure = "https://" + host + "/secure";
    automation.NavigateTo(secure);
    EXPECT_EQ(secure, "https://" + host + "/secure");
}

TEST_F(ServedDocumentTest, DocumentsAreCountedThroughTheFrames) {
    ASSERT_TRUE(page.Navigate(server.Url("/plain")));
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    EXPECT_EQ(automation.CountDocuments(), 1);

    ASSERT_TRUE(page.Navigate(server.Url("/framed")));
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    ASSERT_TRUE(testing::PumpUntil([&] { return page.Evaluate("frames.length") == "2"; }));
    EXPECT_EQ(automation.CountDocuments(), 3);
    EXPECT_EQ(page.Evaluate("window.length"), "2");

    ASSERT_TRUE(page.Navigate(server.Url("/mixed")));
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    ASSERT_TRUE(testing::PumpUntil([&] { return page.Evaluate("frames[1].frames.length") == "1"; }));
    // The page, its two frames and the frame inside the second.
    EXPECT_EQ(automation.CountDocuments(), 4);
}

}  // namespace
}  // namespace corvalin
