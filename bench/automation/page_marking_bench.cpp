// MarkAllFields and CollectPageElements on registration-like pages of 500,
// 2,000 and 5,000 form elements, reported as elements per second and as time
// per element at each size: a flat time per element shows that no step is
// quadratic in the page (every mark writes into the live page, and the next
// element is read from the same live collection). The baseline, measured in
// the same run on the same page, is an unmarked count of the same elements.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"
#include "bench_timing.h"

namespace {

using corvalin::AutomationObject;
using corvalin::PageAutomation;

// One form element of each kind in turn.
std::string FormElement(int i) {
    const std::string n = std::to_string(i);
    switch (i % 6) {
    case 0: return "<input name=t" + n + " value=v" + n + ">";
    case 1: return "<input type=radio name=r" + n + " value=" + n + ">";
    case 2: return "<input type=checkbox name=c" + n + ">";
    case 3: return "<textarea name=a" + n + ">text " + n + "</textarea>";
    case 4: return "<input type=submit name=s" + n + " value=go>";
    default: return "<input type=image name=i" + n + " src=i" + n + ".gif>";
    }
}

std::string Page(int elements) {
    std::string body = "<html><body><form name=reg action=/reg>";
    for (int i = 0; i < elements; ++i) body += "<p>" + FormElement(i) + "</p>";
    return body + "</form></body></html>";
}

int CollectAll(const PageAutomation& automation) {
    std::vector<std::string> l[13];
    std::vector<AutomationObject> elements;
    return automation.CollectPageElements(2, "input|textarea", "text|radio|checkbox|textarea|submit|image", l[0],
                                          l[1], l[2], l[3], l[4], l[5], l[6], l[7], l[8], l[9], l[10], true, l[11],
                                          l[12], elements);
}

// Seconds the operation takes on a freshly loaded page (both operations
// change the page), the best of `runs`; negative when the page did not load
// or the operation did not see every element.
template <class Operation>
double SecondsOnFreshPage(const std::string& markup, int runs, int expected, Operation&& operation) {
    double best = 1e9;
    for (int r = 0; r < runs; ++r) {
        corvalin::testing::HostedPage page;
        PageAutomation automation;
        if (!page.Load(markup) || !automation.AttachBrowser(page.box())) return -1;
        const double start = corvalin::bench::Now();
        const int seen = operation(automation);
        const double seconds = corvalin::bench::Now() - start;
        if (seen != expected) {
            std::printf("saw %d of %d elements\n", seen, expected);
            return -1;
        }
        best = std::min(best, seconds);
    }
    return best;
}

}  // namespace

int main() {
    CoInitialize(nullptr);
    bool ok = true;
    const int sizes[] = {500, 2000, 5000};
    std::printf("%-20s %8s %14s %14s %12s\n", "operation", "elements", "elements/s", "us/element", "x baseline");
    double firstPerElement[3] = {};
    for (const int elements : sizes) {
        const std::string markup = Page(elements);
        const int runs = elements >= 5000 ? 1 : 2;
        // Every sixth element is an image button: MarkAllFields answers their count.
        const int imageButtons = elements / 6;
        const double baseline = SecondsOnFreshPage(markup, runs, elements, [](const PageAutomation& a) {
            return a.CountLabelledInputs("text|radio|checkbox|submit|image", "", false) + a.CountTextAreas(false);
        });
        const double markAll = SecondsOnFreshPage(markup, runs, imageButtons, [](const PageAutomation& a) { return a.MarkAllFields(); });
        const double collect = SecondsOnFreshPage(markup, runs, elements, CollectAll);
        if (baseline < 0 || markAll < 0 || collect < 0) {
            ok = false;
            continue;
        }
        const struct { const char* name; double seconds; } rows[] = {
            {"unmarked count", baseline}, {"MarkAllFields", markAll}, {"CollectPageElements", collect}};
        int row = 0;
        for (const auto& [name, seconds] : rows) {
            const double perElement = seconds * 1e6 / elements;
            if (elements == sizes[0]) firstPerElement[row] = perElement;
            std::printf("%-20s %8d %14.0f %14.2f %11.2fx   (%.2fx the time per element at %d)\n", name, elements,
                        elements / seconds, perElement, seconds / baseline, perElement / firstPerElement[row],
                        sizes[0]);
            ++row;
        }
    }
    CoUninitialize();
    return ok ? 0 : 1;
}
