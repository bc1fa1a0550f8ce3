// Live collections kept across writes: whatever the page changes, a list read
// again answers what a fresh walk of the tree answers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "browser/html/html_markup.h"
#include "browser/html/html_parser.h"
#include "browser/om/late_bound.h"
#include "browser/om/node_objects.h"

using namespace corvalin::browser;
using namespace corvalin::testing;
using dom::Element;
using dom::ElementCollection;

namespace {

dom::Ref<dom::Document> Parse(std::wstring_view markup) { return html::ParseDocument(markup, L"http://h/p.html"); }

std::wstring Ids(const ElementCollection& collection) {
    std::wstring ids;
    for (Element* e : collection.Elements()) ids += (ids.empty() ? L"" : L",") + e->Id();
    return ids;
}

// A fresh walk with the same filter, for comparison with a kept one.
std::vector<Element*> FreshInputs(dom::Node& root) {
    std::vector<Element*> out;
    for (dom::Node* n = root.FirstChild(); n; n = n->NextInTree(&root))
        if (Element* e = n->AsElement(); e && e->Is(L"input")) out.push_back(e);
    return out;
}

}  // namespace

TEST(ElementCollectionTest, ReplacedInputsKeepTheirPlaceInTheList) {
    auto document = Parse(L"<form><p><input id=a></p><p><input id=b type=radio></p><p><input id=c></p></form>");
    const ElementCollection inputs = document->GetElementsByTagName(L"input");
    const ElementCollection bodyInputs = ElementCollection(document->Body(), ElementCollection::Filter{},
                                                           ElementCollection::Scope::Descendants,
                                                           ElementCollection::TagAndPlaceOnly())
                                             .Tags(L"INPUT");
    EXPECT_EQ(Ids(inputs), L"a,b,c");
    EXPECT_EQ(Ids(bodyInputs), L"a,b,c");
    Element* radio = inputs.Item(1);
    // A marked radio: its markup again with a label after it, the way a page toolkit writes it.
    ASSERT_TRUE(html::SetOuterHtml(*radio, html::OuterHtml(*radio) + L"<font color=red>[1]</font>"));
    EXPECT_EQ(Ids(inputs), L"a,b,c");
    EXPECT_NE(inputs.Item(1), radio);
    EXPECT_TRUE(inputs.Item(1)->IsConnected());
    EXPECT_EQ(Ids(bodyInputs), L"a,b,c");
    // Values, titles and labels inside other elements leave the list as it was.
    inputs.Item(0)->SetValue(L"文本框1");
    inputs.Item(2)->SetAttribute(L"title", L"t");
    ASSERT_TRUE(html::InsertAdjacentHtml(*document->Body(), L"afterBegin", L"<font>x</font>"));
    EXPECT_EQ(Ids(inputs), L"a,b,c");
    ASSERT_TRUE(html::InsertAdjacentHtml(*inputs.Item(0), L"beforeBegin", L"<input id=z>"));
    EXPECT_EQ(Ids(inputs), L"z,a,b,c");
    EXPECT_EQ(Ids(bodyInputs), L"z,a,b,c");
}

TEST(ElementCollectionTest, NameAndIdRewritesMoveElementsInAndOut) {
    auto document = Parse(L"<input id=a name=user><input id=b name=pwd><a id=l href=/x>x</a><a id=m>y</a>");
    const ElementCollection users = document->GetElementsByName(L"user");
    const ElementCollection links = document->Links();
    EXPECT_EQ(Ids(users), L"a");
    EXPECT_EQ(Ids(links), L"l");
    document->GetElementById(L"b")->SetAttribute(L"name", L"user");
    EXPECT_EQ(Ids(users), L"a,b");
    document->GetElementById(L"a")->SetAttribute(L"NAME", L"other");
    EXPECT_EQ(Ids(users), L"b");
    document->GetElementById(L"m")->SetAttribute(L"href", L"/y");
    document->GetElementById(L"l")->RemoveAttribute(L"href");
    EXPECT_EQ(Ids(links), L"m");
}

TEST(ElementCollectionTest, NamesAndIdsThroughTheObjectModel) {
    auto document = Parse(L"<input id=a name=user><input id=b name=pwd><span id=s>x</span>");
    ComPtr<IDispatch> object = om::DocumentObject(*document);
    auto users = CallObj(object.Get(), L"getElementsByName", {Var(L"user")});
    EXPECT_EQ(Get(users.Get(), L"length").Number(), 1);
    auto b = CallObj(object.Get(), L"getElementById", {Var(L"b")});
    ASSERT_TRUE(Put(b.Get(), L"name", Var(L"user")));
    EXPECT_EQ(Get(users.Get(), L"length").Number(), 2);
    EXPECT_EQ(Get(CallObj(users.Get(), L"item", {Var(1)}).Get(), L"id").Text(), L"b");

    auto all = GetObj(object.Get(), L"all");
    auto inputs = CallObj(all.Get(), L"tags", {Var(L"input")});
    EXPECT_EQ(Get(CallObj(all.Get(), L"item", {Var(L"s")}).Get(), L"tagName").Text(), L"SPAN");
    ASSERT_TRUE(Put(CallObj(all.Get(), L"item", {Var(L"s")}).Get(), L"id", Var(L"t")));
    EXPECT_EQ(Get(CallObj(all.Get(), L"item", {Var(L"t")}).Get(), L"tagName").Text(), L"SPAN");
    EXPECT_FALSE(CallObj(all.Get(), L"item", {Var(L"s")}));
    // Two elements sharing an id answer as a live collection of both.
    ASSERT_TRUE(Put(b.Get(), L"id", Var(L"a")));
    auto pair = CallObj(all.Get(), L"item", {Var(L"a")});
    EXPECT_EQ(Get(pair.Get(), L"length").Number(), 2);
    ASSERT_TRUE(Put(b.Get(), L"id", Var(L"c")));
    EXPECT_EQ(Get(pair.Get(), L"length").Number(), 1);
    EXPECT_EQ(Get(inputs.Get(), L"length").Number(), 2);
}

// Random insertions, removals, moves and replacements, with the lists read
// after some steps only, so several changes (or more than the document
// remembers) fall between two reads.
TEST(ElementCollectionTest, KeptListsFollowAnySequenceOfTreeChanges) {
    auto document = Parse(L"<div id=top></div>");
    Element* body = document->Body();
    for (int i = 0; i < 30; ++i)
        html::InsertAdjacentHtml(*body, L"beforeEnd",
                                 L"<p><input id=i" + std::to_wstring(i) + L"><span><input></span></p>");
    const ElementCollection kept = document->GetElementsByTagName(L"input");
    const ElementCollection keptInBody =
        ElementCollection(body, [](const Element& e) { return e.Is(L"input"); }, ElementCollection::Scope::Descendants,
                          ElementCollection::TagAndPlaceOnly());
    std::srand(7);
    for (int step = 0; step < 400; ++step) {
        std::vector<Element*> now = FreshInputs(*document);
        std::vector<Element*> blocks;
        for (dom::Node* n = body->FirstChild(); n; n = n->NextInTree(body))
            if (Element* e = n->AsElement(); e && (e->Is(L"p") || e->Is(L"span"))) blocks.push_back(e);
        if (now.empty() || blocks.empty()) break;
        Element* input = now[std::rand() % now.size()];
        Element* block = blocks[std::rand() % blocks.size()];
        switch (std::rand() % 6) {
        case 0: html::SetOuterHtml(*input, html::OuterHtml(*input) + L"<b>m</b>"); break;
        case 1: input->Remove(); break;
        case 2: block->InsertBefore(dom::Ref<dom::Node>(input), block->FirstChild()); break;   // a move
        case 3: html::InsertAdjacentHtml(*block, L"afterEnd", L"<p><input><input></p>"); break;
        case 4: html::SetInnerHtml(*block, L"<input><i>x</i>"); break;
        default: input->SetValue(L"v"); break;
        }
        // Read only now and then, and once after a long run of unread changes
        // (steps 200 to 300), more than the document remembers.
        const bool unreadRun = step > 200 && step < 300;
        if ((std::rand() % 3 == 0 && !unreadRun) || step == 399) {
            ASSERT_EQ(kept.Elements(), FreshInputs(*document)) << "step " << step;
            ASSERT_EQ(keptInBody.Elements(), FreshInputs(*body)) << "step " << step;
            // Lists made anew, as every search makes them, come from the
            // document's tag index, which must follow the same changes.
            ASSERT_EQ(ElementCollection::OfTag(body, L"input").Elements(), FreshInputs(*body)) << "step " << step;
            ASSERT_EQ(document->All().Tags(L"INPUT").Elements(), FreshInputs(*document)) << "step " << step;
        }
        if (step == 250) {
            for (int i = 0; i < 100; ++i) html::InsertAdjacentHtml(*body, L"beforeEnd", L"<input>");
        }
    }
}

TEST(ElementCollectionTest, AListUnderAnElementFollowsItOutOfTheTreeAndBack) {
    auto document = Parse(L"<form id=f><input id=a><input id=b></form><input id=c>");
    Element* form = document->GetElementById(L"f");
    const ElementCollection inForm(form, [](const Element& e) { return e.Is(L"input"); },
                                   ElementCollection::Scope::Descendants, ElementCollection::TagAndPlaceOnly());
    EXPECT_EQ(Ids(inForm), L"a,b");
    dom::Ref<dom::Node> keep(form);
    form->Remove();
    form->RemoveChild(form->FirstChild());   // input a, while the form is out of the tree
    EXPECT_EQ(Ids(inForm), L"b");
    form->AppendChild(document->GetElementById(L"c"));
    document->Body()->AppendChild(keep);
    EXPECT_EQ(Ids(inForm), L"b,c");
    form->AppendChild(document->CreateElement(L"input"));
    EXPECT_EQ(inForm.Length(), 3u);
}

TEST(ElementCollectionTest, ListsByTagKeepToTheirRootInsideAndOutsideTheTree) {
    auto document = Parse(L"<input id=a><div id=d><input id=b><p><input id=c></p></div><input id=e>");
    Element* div = document->GetElementById(L"d");
    EXPECT_EQ(Ids(document->GetElementsByTagName(L"input")), L"a,b,c,e");
    EXPECT_EQ(Ids(ElementCollection::OfTag(div, L"input")), L"b,c");
    EXPECT_EQ(Ids(ElementCollection::OfTag(div, L"input").Tags(L"p")), L"");
    EXPECT_EQ(Ids(ElementCollection::OfTag(div, L"*").Tags(L"p")), L"");
    EXPECT_EQ(ElementCollection::OfTag(div, L"*").Tags(L"p").Length(), 1u);
    // Out of the tree the index knows nothing of the subtree: the list walks it.
    dom::Ref<dom::Node> keep(div);
    div->Remove();
    EXPECT_EQ(Ids(ElementCollection::OfTag(div, L"input")), L"b,c");
    EXPECT_EQ(Ids(document->GetElementsByTagName(L"input")), L"a,e");
    document->Body()->InsertBefore(keep, document->Body()->FirstChild());
    EXPECT_EQ(Ids(document->GetElementsByTagName(L"input")), L"b,c,a,e");
}
