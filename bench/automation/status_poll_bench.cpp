// The client's status poll: attach to the browser box, then read the inner
// markup of the span "zt_msg". Measured on the local hang service's page and
// on a page of 10,000 elements, against a baseline in the same run: the
// same span reached directly with getElementById through the same calling
// layer (the least a poll could cost).
// The server's headers bring winsock2.h, which must come before windows.h.
#include "hang-service/hang_service.h"
#include "support/loopback_server.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"

namespace {

using corvalin::AutomationObject;
using corvalin::PageAutomation;

// 10,000 elements: a third of them spans before the status span, the rest
// divs and inputs, so the poll walks every span of the page.
std::string LargePage() {
    std::string body;
    for (int i = 0; i < 3333; ++i) {
        body += "<div class=row" + std::to_string(i) + "><span class=cell>" + std::to_string(i) +
                "</span><input type=text name=f" + std::to_string(i) + "></div>";
    }
    return "<html><body>" + body + "<span id=zt_msg>在线</span></body></html>";
}

template <class Poll>
double MicrosecondsPerPoll(int polls, Poll&& poll) {
    poll();   // warm up
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < polls; ++i) poll();
    QueryPerformanceCounter(&end);
    return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / polls;
}

// Loads the page into `page`: an address when it starts with "http", markup
// otherwise.
bool Measure(const char* name, const std::string& source, int polls) {
    corvalin::testing::HostedPage page;
    if (!(source.rfind("http", 0) == 0 ? page.Navigate(source) : page.Load(source))) {
        std::printf("%s: the page did not load\n", name);
        return false;
    }
    PageAutomation automation;
    std::string status;
    const double poll = MicrosecondsPerPoll(polls, [&] {
        automation.AttachBrowser(page.box());
        status = automation.GetSpanInnerHtml("zt_msg");
    });
    const double attach = MicrosecondsPerPoll(polls, [&] { automation.AttachBrowser(page.box()); });
    std::string direct;
    const double baseline = MicrosecondsPerPoll(polls, [&] {
        direct = automation.GetDocument().CallObject("getElementById", "zt_msg").GetText("innerHTML");
    });
    if (status.empty() || status != direct) {
        std::printf("%s: the poll read \"%s\", the direct read \"%s\"\n", name, status.c_str(), direct.c_str());
        return false;
    }
    std::printf("%-14s poll %10.1f us  (attach %8.1f us, span search %10.1f us)  "
                "direct read %8.1f us  poll/direct %7.1fx\n",
                name, poll, attach, poll - attach, baseline, poll / baseline);
    return true;
}

}  // namespace

int main() {
    CoInitialize(nullptr);
    // The service page as the local hang service serves it.
    corvalin::hang::HangService service(corvalin::hang::ServiceOptions{});
    corvalin::testing::LoopbackServer server;
    service.Install(server.server());
    if (server.Start() == 0) {
        std::printf("the hang service did not start\n");
        return 1;
    }
    bool ok = Measure("service page", server.Url("/"), 200);
    ok = Measure("10000 elements", LargePage(), 10) && ok;
    CoUninitialize();
    return ok ? 0 : 1;
}
