// Hostile pages nest far deeper than any real one: they are laid out all the
// way down, without running out of stack.
#include <gtest/gtest.h>

#include <string>

#include "browser/html/html_parser.h"
#include "browser/layout/geometry.h"

namespace corvalin::browser::layout {
namespace {

int DepthOf(const dom::Element& e) {
    int depth = 0;
    for (const dom::Element* a = &e; a; a = a->ParentElement()) ++depth;
    return depth;
}

dom::Ref<dom::Document> Nested(const std::wstring& open, int levels, const std::wstring& inner) {
    std::wstring markup = L"<html><body style=\"margin:0\">";
    markup.reserve(levels * open.size() + 100);
    for (int i = 0; i < levels; ++i) markup += open;
    markup += inner;
    return html::ParseDocument(markup, L"http://h/deep.html");
}

TEST(DeepMarkupTest, TenThousandNestedBlocksReachTheInnermostElement) {
    auto doc = Nested(L"<div>", 10000, L"<span id=inner>deep</span>");
    dom::Element* inner = doc->GetElementById(L"inner");
    ASSERT_NE(inner, nullptr);
    ASSERT_GE(DepthOf(*inner), 10000);   // the parser keeps all of it
    const OffsetBox box = OffsetOf(*inner);
    EXPECT_GT(box.width, 10);
    EXPECT_GT(box.height, 5);
    const RECT r = BoundingClientRect(*inner);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(ElementFromPoint(*doc, (r.left + r.right) / 2, (r.top + r.bottom) / 2), inner);
    // A change deep down lays out again as deep.
    inner->FirstChild()->SetData(L"deeper and wider");
    EXPECT_GT(OffsetOf(*inner).width, box.width);
}

TEST(DeepMarkupTest, DeepShrinkToFitAndTablesDoNotRunOutOfStack) {
    // Floats and tables measure their content's widths first, recursively too.
    auto floats = Nested(L"<div style=\"float:left\">", 10000, L"<b id=inner>x y</b>");
    ASSERT_NE(floats->GetElementById(L"inner"), nullptr);
    EXPECT_GT(OffsetOf(*floats->GetElementById(L"inner")).width, 0);
    auto tables = Nested(L"<table><tr><td>", 3000, L"<i id=inner>cell</i>");
    dom::Element* inner = tables->GetElementById(L"inner");
    ASSERT_NE(inner, nullptr);
    ASSERT_GE(DepthOf(*inner), 3000);
    EXPECT_GT(OffsetOf(*inner).width, 0);
}

}  // namespace
}  // namespace corvalin::browser::layout
