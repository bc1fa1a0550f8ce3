// The document as pages of that browser's era use it: lookups by id that also
// take names, fragments and comments, its own events, tables as it builds them.
#include "browser/engine/page_fixture.h"

namespace corvalin::browser::testing {
namespace {

using DocumentMembersTest = PageTest;

TEST_F(DocumentMembersTest, GetElementByIdTakesNamesAndKeepsDocumentOrder) {
    LoadMarkup(L"<input name=user><div id=user>later</div><p id=p>x</p>");
    EXPECT_EQ(Eval(L"document.getElementById('user').tagName"), L"INPUT");
    // The index follows changes to the tree and to ids.
    box_->ExecScript(L"document.getElementById('p').id = 'q'");
    EXPECT_EQ(Eval(L"document.getElementById('p') == null && document.getElementById('q').tagName == 'P'"), L"-1");
    box_->ExecScript(L"var q = document.getElementById('q'); q.parentNode.removeChild(q)");
    EXPECT_EQ(Eval(L"document.getElementById('q') == null"), L"-1");
    box_->ExecScript(L"document.body.insertAdjacentHTML('afterBegin', '<b id=first name=user>b</b>')");
    EXPECT_EQ(Eval(L"document.getElementById('user').tagName"), L"B");
    EXPECT_EQ(Eval(L"document.all('user').length"), L"3");
    EXPECT_EQ(Eval(L"document.getElementsByName('user').length + ':' + document.getElementsByName('user')[1].tagName"), L"2:INPUT");
}

TEST_F(DocumentMembersTest, FragmentsAndCommentsAreCreated) {
    LoadMarkup(L"<ul id=list></ul>");
    EXPECT_EQ(Eval(LR"((function () {
        var f = document.createDocumentFragment();
        for (var i = 0; i < 3; i++) { var li = document.createElement('li'); li.innerText = i; f.appendChild(li); }
        document.getElementById('list').appendChild(f);
        return f.nodeName + ':' + f.childNodes.length + ':' + document.getElementById('list').childNodes.length;
    })())"),
              L"#document-fragment:0:3");
    EXPECT_EQ(Eval(L"(function () { var c = document.createComment('note'); document.body.appendChild(c); return c.nodeType + ':' + c.nodeValue; })()"),
              L"8:note");
}

TEST_F(DocumentMembersTest, HandlersAttachedToTheDocumentSeeBubbledEvents) {
    LoadMarkup(L"<script>var log = [];</script><div id=d>x</div><span id=s onclick='event.cancelBubble = true'>s</span>");
    box_->ExecScript(L"function seen() { log.push(event.srcElement.id); } document.attachEvent('onclick', seen);");
    CallMethod(ElementById(L"d").Get(), L"click");
    CallMethod(ElementById(L"s").Get(), L"click");   // stopped before the document
    EXPECT_EQ(Eval(L"log.join()"), L"d");
    box_->ExecScript(L"document.detachEvent('onclick', seen)");
    CallMethod(ElementById(L"d").Get(), L"click");
    EXPECT_EQ(Eval(L"log.join()"), L"d");
}

TEST_F(DocumentMembersTest, LastModifiedReadsAsTheBrowserWritesIt) {
    LoadMarkup(L"<p>x</p>");
    const std::wstring text = Eval(L"document.lastModified");
    ASSERT_EQ(text.size(), 19u) << text;
    EXPECT_EQ(text[2], L'/');
    EXPECT_EQ(text[5], L'/');
    EXPECT_EQ(text[13], L':');
    EXPECT_EQ(Eval(L"isNaN(Date.parse(document.lastModified))"), L"0");
}

TEST_F(DocumentMembersTest, TablesGetABodyAndNoBlanksBetweenTheirParts) {
    LoadMarkup(L"<table id=t>\n  <tr>\n    <td>a</td>\n  </tr>\n  <tr><td>b</td></tr>\n</table>");
    EXPECT_EQ(Eval(L"document.getElementById('t').tBodies.length"), L"1");
    EXPECT_EQ(Eval(L"document.getElementById('t').firstChild.tagName"), L"TBODY");
    EXPECT_EQ(Eval(L"document.getElementById('t').firstChild.childNodes.length"), L"2");
    EXPECT_EQ(Eval(L"document.getElementById('t').rows[0].childNodes.length"), L"1");
    EXPECT_EQ(Eval(L"document.getElementById('t').rows.length"), L"2");
}

TEST_F(DocumentMembersTest, LinksSplitTheirAddress) {
    LoadMarkup(L"<a id=a href='http://example.com:8080/p?q#h'>a</a><a id=b href='/x'>b</a>", L"http://host.test/dir/");
    EXPECT_EQ(Eval(L"document.getElementById('a').host + '|' + document.getElementById('a').port"), L"example.com:8080|8080");
    EXPECT_EQ(Eval(L"document.getElementById('b').host + '|' + document.getElementById('b').port"), L"host.test|");
}

}  // namespace
}  // namespace corvalin::browser::testing
