// Page engine costs, each against a baseline measured in the same run:
//  1. parsing a 1 MB page into our tree vs libxml2's own parse of the same bytes;
//  2. a late-bound walk of all.tags("span") over 10,000 spans reading
//     className, innerText and id, as the page toolkit walks a page.
#include <windows.h>

#include <libxml/HTMLparser.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "browser/html/html_parser.h"
#include "browser/html/utf8.h"
#include "browser/om/dispatch_object.h"
#include "browser/om/node_objects.h"
#include "bench_timing.h"

using namespace corvalin::browser;

namespace {

using corvalin::bench::BestSeconds;
using corvalin::bench::Now;

std::wstring MakePage(std::size_t bytes) {
    std::wstring page = L"<html><head><title>bench</title><style>p < b { color: red }</style></head><body>";
    int i = 0;
    while (page.size() < bytes) {
        page += L"<div class=row id=r" + std::to_wstring(i) + L"><span class=\"c a\">状态 " + std::to_wstring(i) +
                L" &amp; more</span><a href=\"x.php?id=" + std::to_wstring(i) + L"\">link</a>"
                L"<table><tr><td>a<td>b</table><input name=f" + std::to_wstring(i) + L" value=v><p>text text text"
                L"<!-- comment --></div>\n";
        ++i;
    }
    return page + L"</body></html>";
}

HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
    if (FAILED(hr)) return hr;
    DISPPARAMS params{args, nullptr, count, 0};
    return object->Invoke(id, IID_NULL, 0, flags, &params, result, nullptr, nullptr);
}

}  // namespace

int main() {
    // 1. Parse: ours (decode + parse + tree) against libxml2's tree build of the same UTF-8.
    std::wstring page = MakePage(1024 * 1024);
    std::string utf8 = html::WideToUtf8(page);
    double bare = BestSeconds(5, [&] {
        htmlDocPtr doc = htmlReadMemory(utf8.data(), static_cast<int>(utf8.size()), nullptr, "UTF-8",
                                        HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR |
                                            HTML_PARSE_NOWARNING);
        xmlFreeDoc(doc);
    });
    std::size_t nodes = 0;
    double ours = BestSeconds(5, [&] {
        auto doc = html::ParseDocument(page, L"http://h/");
        nodes = dom::Node::LiveCount();
    });
    std::printf("parse 1 MB page: libxml2 %.1f ms, our tree %.1f ms (%zu nodes), ratio %.2fx (aim <= 2x)\n",
                bare * 1000, ours * 1000, nodes, ours / bare);

    // 2. Late-bound walk over 10,000 spans.
    std::wstring spans = L"<html><body>";
    for (int i = 0; i < 10000; ++i) {
        spans += L"<span class=s" + std::to_wstring(i % 7) + L" id=sp" + std::to_wstring(i) + L">状态 <b>" +
                 std::to_wstring(i) + L"</b></span>";
    }
    spans += L"</body></html>";
    auto doc = html::ParseDocument(spans, L"http://h/");
    auto document = om::DocumentObject(*doc);
    long calls = 0;
    std::size_t checksum = 0;
    double walk = BestSeconds(3, [&] {
        calls = 0;
        VARIANT body, all, tags, length;
        VariantInit(&body);
        VariantInit(&all);
        VariantInit(&tags);
        VariantInit(&length);
        CallByName(document.Get(), L"body", DISPATCH_PROPERTYGET, nullptr, 0, &body);
        CallByName(body.pdispVal, L"all", DISPATCH_PROPERTYGET, nullptr, 0, &all);
        VARIANT tag;
        tag.vt = VT_BSTR;
        tag.bstrVal = SysAllocString(L"span");
        CallByName(all.pdispVal, L"tags", DISPATCH_METHOD, &tag, 1, &tags);
        CallByName(tags.pdispVal, L"length", DISPATCH_PROPERTYGET, nullptr, 0, &length);
        calls += 4;
        long count = length.lVal;
        for (long i = 0; i < count; ++i) {
            VARIANT index, element;
            index.vt = VT_R8;
            index.dblVal = i;
            VariantInit(&element);
            CallByName(tags.pdispVal, L"item", DISPATCH_METHOD, &index, 1, &element);
            ++calls;
            for (const wchar_t* name : {L"className", L"innerText", L"id"}) {
                VARIANT v;
                VariantInit(&v);
                CallByName(element.pdispVal, name, DISPATCH_PROPERTYGET, nullptr, 0, &v);
                if (v.vt == VT_BSTR) checksum += SysStringLen(v.bstrVal);
                VariantClear(&v);
                ++calls;
            }
            VariantClear(&element);
        }
        VariantClear(&tag);
        VariantClear(&tags);
        VariantClear(&all);
        VariantClear(&body);
    });
    std::printf("late-bound walk of 10,000 spans: %ld calls in %.1f ms, %.0f calls/s (checksum %zu)\n", calls,
                walk * 1000, calls / walk, checksum);
    return 0;
}
