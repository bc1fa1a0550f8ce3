// The DOM core on its own: rendered text, addresses, control state, tree
// ownership, the layout's numbers and writes during a load.
#include <gtest/gtest.h>

#include "browser/net/url.h"
#include "browser/html/document_writer.h"
#include "browser/html/html_markup.h"
#include "browser/html/html_parser.h"

using namespace corvalin::browser;
using dom::Element;

namespace {

dom::Ref<dom::Document> Parse(std::wstring_view markup) { return html::ParseDocument(markup, L"http://h/a/b.html"); }

}  // namespace

TEST(ElementTest, InnerTextFollowsTheBrowsersTextRules) {
    struct Case {
        const wchar_t* markup;
        const wchar_t* text;
    } cases[] = {
        {L"a  b\n\tc", L"a b c"},
        {L"<div>one</div><div>two</div>", L"one\r\ntwo"},
        {L"x<br>y<br><br>z", L"x\r\ny\r\n\r\nz"},
        {L"<p>para</p>tail", L"para\r\ntail"},
        {L"<b>bold</b> <i>it</i>", L"bold it"},
        {L"<ul><li>1<li>2</ul>", L"1\r\n2"},
        {L"<span>  lead and trail  </span>", L"lead and trail"},
        {L"a<script>var x=1;</script><style>p{}</style>b", L"ab"},
        {L"<pre>  keep\n  this</pre>", L"  keep\r\n  this"},
        {L"a&nbsp;&nbsp;b", L"a  b"},
        {L"<table><tr><td>1</td><td>2</td></tr><tr><td>3</td></tr></table>", L"1\t2\r\n3"},
        {L"<div><div>nested</div></div>after", L"nested\r\nafter"},
    };
    for (const auto& c : cases) {
        auto doc = Parse(std::wstring(L"<body>") + c.markup);
        EXPECT_EQ(doc->Body()->InnerText(), c.text) << c.markup;
    }
}

TEST(ElementTest, AddressesResolveAgainstTheDocument) {
    struct Case {
        const wchar_t* base;
        const wchar_t* reference;
        const wchar_t* resolved;
    } cases[] = {
        {L"http://h/a/b.html", L"c.php", L"http://h/a/c.php"},
        {L"http://h/a/b.html", L"../c.php?x=1#f", L"http://h/c.php?x=1#f"},
        {L"http://h/a/b.html", L"/root", L"http://h/root"},
        {L"http://h/a/b.html", L"//other/x", L"http://other/x"},
        {L"http://h/a/b.html?q=1", L"?q=2", L"http://h/a/b.html?q=2"},
        {L"http://h/a/b.html", L"", L"http://h/a/b.html"},
        {L"http://h/a/b.html", L"#top", L"http://h/a/b.html#top"},
        {L"http://h:8080", L"x", L"http://h:8080/x"},
        {L"http://h/a/b.html", L"javascript:go()", L"javascript:go()"},
        {L"http://h/a/b.html", L"HTTPS://S/", L"https://s/"},
        {L"http://h/a/b/", L"./././../c", L"http://h/a/c"},
        {L"http://h/a/b.html", L"  spaced.php  ", L"http://h/a/spaced.php"},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveUrl(c.base, c.reference), c.resolved) << c.reference;
    EXPECT_EQ(UrlHost(L"http://user@Example.COM:81/x"), L"example.com");
    EXPECT_EQ(UrlHost(L"about:blank"), L"");

    auto doc = Parse(L"<head><base href=\"http://cdn/static/\"></head><img id=i src=p.gif>");
    EXPECT_EQ(doc->GetElementById(L"i")->ResolvedUrlAttribute(L"src"), L"http://cdn/static/p.gif");
}

TEST(ElementTest, ControlsKeepCurrentStateApartFromTheMarkup) {
    auto doc = Parse(L"<form id=f><input id=t value=a><input id=c type=checkbox checked><textarea id=ta>\nx</textarea>"
                     L"<select id=s><option>p<option selected>q</select><input id=u type=weird></form>");
    Element* t = doc->GetElementById(L"t");
    t->SetValue(L"typed");
    EXPECT_EQ(t->Value(), L"typed");
    EXPECT_EQ(t->DefaultValue(), L"a");
    // The markup shows the current value, as that browser's outerHTML does.
    EXPECT_EQ(html::OuterHtml(*t), L"<INPUT id=t value=typed>");
    Element* c = doc->GetElementById(L"c");
    c->SetChecked(false);
    EXPECT_EQ(html::OuterHtml(*c), L"<INPUT id=c type=checkbox>");
    EXPECT_TRUE(c->DefaultChecked());
    Element* ta = doc->GetElementById(L"ta");
    EXPECT_EQ(ta->Value(), L"x");
    Element* s = doc->GetElementById(L"s");
    EXPECT_EQ(s->SelectedIndex(), 1);
    s->SetSelectedIndex(-1);
    EXPECT_EQ(s->SelectedIndex(), -1);
    EXPECT_EQ(s->Value(), L"");
    EXPECT_EQ(doc->GetElementById(L"u")->Type(), L"text");

    doc->ResetForm(*doc->GetElementById(L"f"));
    EXPECT_EQ(t->Value(), L"a");
    EXPECT_TRUE(c->Checked());
    EXPECT_EQ(s->SelectedIndex(), 1);
}

TEST(ElementTest, StyleAttributeParsesIntoProperties) {
    auto doc = Parse(L"<div id=d style=\"color:red; background: url(a;b.png) ;DISPLAY : block;;bad\">x</div>");
    Element* d = doc->GetElementById(L"d");
    auto props = d->Style();
    ASSERT_EQ(props.size(), 3u);
    EXPECT_EQ(props[1].name, L"background");
    EXPECT_EQ(props[1].value, L"url(a;b.png)");
    EXPECT_EQ(d->StyleValue(L"display"), L"block");
    d->SetStyleValue(L"fontSize", L"12px");
    EXPECT_EQ(d->StyleValue(L"font-size"), L"12px");
    EXPECT_EQ(d->StyleCssText(), L"COLOR: red; BACKGROUND: url(a;b.png); DISPLAY: block; FONT-SIZE: 12px");
    d->SetStyleCssText(L"");
    EXPECT_FALSE(d->HasAttribute(L"style"));
}

TEST(ElementTest, TreeOwnershipFreesDetachedAndHeldNodes) {
    std::size_t before = dom::Node::LiveCount();
    dom::Ref<Element> kept;
    {
        auto doc = Parse(L"<div id=a><span id=b>x</span></div><p>y</p>");
        kept = doc->GetElementById(L"b");
        // Moving a node into its own descendant is refused.
        EXPECT_FALSE(kept->AppendChild(doc->GetElementById(L"a")));
        // A created element that is never inserted frees with its last reference.
        doc->CreateElement(L"div");
    }
    // The document went; the held span survives on its own, detached.
    EXPECT_EQ(kept->Parent(), nullptr);
    EXPECT_EQ(kept->InnerText(), L"x");
    EXPECT_GT(dom::Node::LiveCount(), before);
    kept = nullptr;
    EXPECT_EQ(dom::Node::LiveCount(), before);
}

TEST(ElementTest, WritesDuringALoadGoAfterTheRunningScript) {
    auto doc = Parse(L"<p id=before>b</p><script id=s>document.write()</script><p id=after>a</p>");
    Element* script = doc->GetElementById(L"s");
    doc->SetCurrentScript(script);
    html::WriteDocument(*doc, L"<i id=w1>1</i>");
    html::WriteDocument(*doc, L"<i id=w2>2</i>");
    doc->SetCurrentScript(nullptr);
    EXPECT_EQ(script->NextSibling(), doc->GetElementById(L"w1"));
    EXPECT_EQ(doc->GetElementById(L"w1")->NextSibling(), doc->GetElementById(L"w2"));
    EXPECT_EQ(doc->GetElementById(L"w2")->NextSibling(), doc->GetElementById(L"after"));

    // After the load a write opens a new page, shown on close.
    html::WriteDocument(*doc, L"<b id=fresh>new</b>");
    EXPECT_EQ(doc->GetElementById(L"before"), nullptr);
    html::CloseDocument(*doc);
    ASSERT_NE(doc->GetElementById(L"fresh"), nullptr);
    ASSERT_NE(doc->Body(), nullptr);
}
