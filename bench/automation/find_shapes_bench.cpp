// Every key finder on pages of 500 and 5,000 candidates, the key naming the
// last one so the whole collection is walked. Reported as lookups per second
// at 5,000, and as time per candidate at both sizes: a ratio near 1 shows the
// walk is linear in the candidates, never quadratic. The baseline, measured
// in the same run on the same page, is getElementById through the same
// calling layer.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <functional>
#include <string>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"
#include "bench_timing.h"

namespace {

using corvalin::bench::MicrosecondsPer;

using corvalin::AutomationObject;
using corvalin::PageAutomation;

struct Shape {
    const char* name;
    // The markup of candidate i; the last one carries id "target".
    std::function<std::string(int i, bool last)> candidate;
    std::function<AutomationObject(const PageAutomation&)> find;
};

std::string Id(bool last) { return last ? " id=target" : ""; }

const Shape kShapes[] = {
    {"FindInputElement", [](int i, bool last) { return "<input name=f" + std::to_string(i) + Id(last) + ">"; },
     [](const PageAutomation& a) { int o = 0; return a.FindInputElement("text|password|file", "target", 0, o); }},
    {"FindImageElement", [](int i, bool last) { return "<img src=p" + std::to_string(i) + ".gif" + Id(last) + ">"; },
     [](const PageAutomation& a) { int o = 0; return a.FindImageElement("image", "target", 0, o); }},
    {"FindDivElement", [](int i, bool last) { return "<div" + Id(last) + ">d" + std::to_string(i) + "</div>"; },
     [](const PageAutomation& a) { int o = 0; return a.FindDivElement("target", 0, o); }},
    {"FindSpanElement", [](int i, bool last) { return "<span" + Id(last) + ">s" + std::to_string(i) + "</span>"; },
     [](const PageAutomation& a) { int o = 0; return a.FindSpanElement("target", 0, o); }},
    {"FindListItemElement", [](int i, bool last) { return "<li" + Id(last) + ">l" + std::to_string(i) + "</li>"; },
     [](const PageAutomation& a) { int o = 0; return a.FindListItemElement("target", 0, o); }},
    {"FindTextAreaElement",
     [](int i, bool last) { return "<textarea" + Id(last) + ">t" + std::to_string(i) + "</textarea>"; },
     [](const PageAutomation& a) { int o = 0; return a.FindTextAreaElement("target", 0, o); }},
    {"FindLinkElement", [](int i, bool last) { return "<a href=/p" + std::to_string(i) + Id(last) + ">a</a>"; },
     [](const PageAutomation& a) { int o = 0; return a.FindLinkElement("target", 0, o); }},
    {"FindCiteElement", [](int i, bool last) { return "<cite" + Id(last) + ">c" + std::to_string(i) + "</cite>"; },
     [](const PageAutomation& a) { int o = 0; return a.FindCiteElement("target", 0, o); }},
    {"FindForm", [](int i, bool last) { return "<form name=f" + std::to_string(i) + Id(last) + "></form>"; },
     [](const PageAutomation& a) { int o = 0; return a.FindForm("target", o); }},
};

struct Measurement {
    double lookup = 0;     // microseconds
    double baseline = 0;   // microseconds
};

bool Measure(const Shape& shape, int candidates, Measurement& result) {
    std::string body;
    for (int i = 0; i < candidates; ++i) body += shape.candidate(i, i == candidates - 1);
    corvalin::testing::HostedPage page;
    PageAutomation automation;
    if (!page.Load("<html><body>" + body + "</body></html>") || !automation.AttachBrowser(page.box())) return false;
    if (shape.find(automation).GetText("id") != "target") {
        std::printf("%s: the last candidate was not found\n", shape.name);
        return false;
    }
    const int repeats = candidates >= 5000 ? 5 : 30;
    result.lookup = MicrosecondsPer(repeats, [&] { shape.find(automation); });
    const AutomationObject document = automation.GetDocument();
    result.baseline = MicrosecondsPer(200, [&] { document.CallObject("getElementById", "target"); });
    return true;
}

}  // namespace

int main() {
    CoInitialize(nullptr);
    bool ok = true;
    std::printf("%-20s %14s %16s %16s %10s %18s\n", "finder", "lookups/s@5000", "us/candidate@500",
                "us/candidate@5000", "ratio", "lookup/byId@5000");
    for (const Shape& shape : kShapes) {
        Measurement small, large;
        if (!Measure(shape, 500, small) || !Measure(shape, 5000, large)) {
            ok = false;
            continue;
        }
        const double perSmall = small.lookup / 500, perLarge = large.lookup / 5000;
        std::printf("%-20s %14.1f %16.3f %16.3f %9.2fx %17.0fx\n", shape.name, 1e6 / large.lookup, perSmall, perLarge,
                    perLarge / perSmall, large.lookup / large.baseline);
    }
    CoUninitialize();
    return ok ? 0 : 1;
}
