// The client's status poll: attach to the browser box, then read the inner
// markup of the span "zt_msg". Measured on the local hang service's page and
// on a page of 10,000 elements, against baselines in the same run:
//  - oleacc's own round trip: LresultFromObject and ObjectFromLresult of an
//    IUnknown whose stub is held (no attach through the message can be faster);
//  - the same span reached directly with getElementById through the same
//    calling layer;
//  - one late-bound property read, the unit the span search is made of.
// The server's headers bring winsock2.h, which must come before windows.h.
#include "hang-service/hang_service.h"
#include "support/loopback_server.h"

#include <windows.h>
#include <objbase.h>
#include <oleacc.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"
#include "bench_timing.h"

namespace {

using corvalin::bench::MicrosecondsPer;

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

// The least object oleacc can carry: IUnknown alone.
class PlainObject final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = riid == IID_IUnknown ? static_cast<IUnknown*>(this) : nullptr;
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

private:
    std::atomic<ULONG> references_{1};
};

// oleacc's round trip of an object whose stub is held, in microseconds.
double OleaccRoundTrip(int runs) {
    auto* object = new PlainObject;
    Microsoft::WRL::ComPtr<IStream> held;
    CreateStreamOnHGlobal(nullptr, TRUE, &held);
    CoMarshalInterface(held.Get(), IID_IUnknown, object, MSHCTX_LOCAL, nullptr, MSHLFLAGS_TABLESTRONG);
    const double us = MicrosecondsPer(runs, [&] {
        const LRESULT answer = LresultFromObject(IID_IUnknown, 0, object);
        IUnknown* back = nullptr;
        if (SUCCEEDED(ObjectFromLresult(answer, IID_IUnknown, 0, reinterpret_cast<void**>(&back)))) back->Release();
    });
    const LARGE_INTEGER start{};
    held->Seek(start, STREAM_SEEK_SET, nullptr);
    CoReleaseMarshalData(held.Get());
    object->Release();
    return us;
}

// Loads the page into `page`: an address when it starts with "http", markup
// otherwise. `roundTrip` is oleacc's, measured in the same run.
bool Measure(const char* name, const std::string& source, int polls, double roundTrip) {
    corvalin::testing::HostedPage page;
    if (!(source.rfind("http", 0) == 0 ? page.Navigate(source) : page.Load(source))) {
        std::printf("%s: the page did not load\n", name);
        return false;
    }
    PageAutomation automation;
    std::string status;
    const double poll = MicrosecondsPer(polls, [&] {
        automation.AttachBrowser(page.box());
        status = automation.GetSpanInnerHtml("zt_msg");
    });
    const double attach = MicrosecondsPer(polls, [&] { automation.AttachBrowser(page.box()); });
    std::string direct;
    const double baseline = MicrosecondsPer(polls, [&] {
        direct = automation.GetDocument().CallObject("getElementById", "zt_msg").GetText("innerHTML");
    });
    if (status.empty() || status != direct) {
        std::printf("%s: the poll read \"%s\", the direct read \"%s\"\n", name, status.c_str(), direct.c_str());
        return false;
    }
    // One late-bound read, as the span search makes them.
    const AutomationObject span = automation.GetDocument().CallObject("getElementById", "zt_msg");
    const double read = MicrosecondsPer(polls * 100, [&] { direct = span.GetText("className"); });
    std::printf("%-14s poll %9.1f us (attach %8.1f us, span search %9.1f us)  oleacc round trip %6.1f us  "
                "poll/round trip %6.2f (target poll <= %.1f us)  direct read %7.1f us  one read %5.0f ns\n",
                name, poll, attach, poll - attach, roundTrip, poll / roundTrip, 1.2 * roundTrip + 50, baseline,
                read * 1e3);
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
    const double roundTrip = OleaccRoundTrip(500);
    bool ok = Measure("service page", server.Url("/"), 200, roundTrip);
    ok = Measure("10000 elements", LargePage(), 20, roundTrip) && ok;
    CoUninitialize();
    return ok ? 0 : 1;
}
