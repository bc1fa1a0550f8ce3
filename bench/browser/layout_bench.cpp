// Layout costs, each against a baseline measured in the same run:
//  1. laying out a 1 MB page against parsing it;
//  2. laying out again after one change (a class that only recolours, a width,
//     a text), against the first layout and the parse;
//  3. 10,000 geometry reads with no change in between (they must not lay out
//     again), reported as reads per second.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "browser/html/html_parser.h"
#include "browser/layout/geometry.h"
#include "bench_timing.h"

using namespace corvalin::browser;

namespace {

using corvalin::bench::BestSeconds;
using corvalin::bench::Now;

std::wstring MakePage(std::size_t bytes) {
    std::wstring page = L"<html><head><style>.row { margin: 2px } .c { color: #336699 } td { padding: 2px }</style></head><body>";
    int i = 0;
    while (page.size() < bytes) {
        page += L"<div class=row id=r" + std::to_wstring(i) + L"><span class=\"c a\">状态 " + std::to_wstring(i) +
                L" &amp; more words to wrap</span><a href=\"x.php?id=" + std::to_wstring(i) + L"\">link</a>"
                L"<table><tr><td>a<td>b</table><input name=f" + std::to_wstring(i) + L" value=v><p>text text text</div>\n";
        ++i;
    }
    return page + L"</body></html>";
}

}  // namespace

int main() {
    const std::wstring page = MakePage(1024 * 1024);
    const double parse = BestSeconds(3, [&] { html::ParseDocument(page, L"http://h/"); });
    auto doc = html::ParseDocument(page, L"http://h/");
    std::size_t boxes = 0;
    const double layout = BestSeconds(3, [&] {
        auto fresh = layout::LayOut(*doc, 1000, 700);
        boxes = fresh->boxes.size();
    });
    std::printf("layout of a 1 MB page: parse %.1f ms, layout %.1f ms (%zu boxes), ratio %.2fx\n", parse * 1000,
                layout * 1000, boxes, layout / parse);

    doc->SetViewSize(1000, 700);
    layout::CurrentLayout(*doc);
    dom::Element* row = doc->GetElementById(L"r100");
    int flip = 0;
    const double recolour = BestSeconds(3, [&] {
        row->SetAttribute(L"class", (flip++ % 2) ? L"row" : L"row c");
        layout::CurrentLayout(*doc);
    });
    std::printf("relayout after one change, class (colour only): %.2f ms, %.4fx the first layout, %.4fx the parse\n",
                recolour * 1000, recolour / layout, recolour / parse);
    const double resize = BestSeconds(3, [&] {
        row->SetAttribute(L"style", (flip++ % 2) ? L"width:300px" : L"width:500px");
        layout::CurrentLayout(*doc);
    });
    std::printf("relayout after one change, style width: %.2f ms, %.4fx the first layout, %.4fx the parse\n",
                resize * 1000, resize / layout, resize / parse);
    dom::Node* text = doc->GetElementById(L"r200")->FirstChild()->FirstChild();
    const double retext = BestSeconds(3, [&] {
        text->SetData((flip++ % 2) ? L"a longer text that wraps differently " : L"short");
        layout::CurrentLayout(*doc);
    });
    std::printf("relayout after one change, text: %.2f ms, %.4fx the first layout, %.4fx the parse\n", retext * 1000,
                retext / layout, retext / parse);

    dom::Element* target = doc->GetElementById(L"r5000");
    const std::uint64_t before = layout::CurrentLayout(*doc).passes;
    long sum = 0;
    const double reads = BestSeconds(3, [&] {
        for (int i = 0; i < 10000; ++i) sum += layout::OffsetOf(*target).top + layout::ClientWidth(*target);
    });
    const bool relaidOut = before != layout::CurrentLayout(*doc).passes;
    std::printf("10,000 geometry reads, no change: %.2f ms, %.0f reads/s, laid out again: %s (checksum %ld)\n",
                reads * 1000, 20000 / reads, relaidOut ? "yes" : "no", sum);
    return relaidOut ? 1 : 0;
}
