// document.write while the page loads, as counters, ads and table builders
// of that era call it: markup in pieces, read back at once, script by script.
#include "browser/engine/page_fixture.h"

namespace corvalin::browser::testing {
namespace {

using DocumentWriterTest = PageTest;

TEST_F(DocumentWriterTest, MarkupWrittenInPiecesReadsAsOneStream) {
    LoadMarkup(LR"(<div id=box><script>
document.write('<table id=t border=1>');
for (var i = 0; i < 3; i++) document.write('<tr><td>' + i + '</td>');
document.write('</table>');
document.write('<a id=l href="x.html">');
document.write('link ');
document.writeln('text');
document.write('</a>');
</script><p id=after>after</p></div>)");
    EXPECT_EQ(GetText(GetObject(ElementById(L"t").Get(), L"rows").Get(), L"length"), L"3");
    EXPECT_EQ(GetText(ElementById(L"t").Get(), L"innerText"), L"0\r\n1\r\n2");
    EXPECT_EQ(GetText(ElementById(L"l").Get(), L"innerText"), L"link text");
    // In place: after the script, before what follows it.
    EXPECT_EQ(Eval(L"(function () { var c = document.getElementById('box').children, t = [];"
                   L" for (var i = 0; i < c.length; i++) t.push(c[i].tagName); return t.join(); })()"),
              L"SCRIPT,TABLE,A,P");
}

TEST_F(DocumentWriterTest, WhatAScriptWroteIsThereForItAtOnce) {
    LoadMarkup(LR"(<div id=box><script>
document.write('<div id=w></div>');
document.getElementById('w').innerHTML = 'filled';
document.write('<span id=s>' + document.getElementById('w').innerHTML + '</span>');
document.write('<b id=open>left open');
var seen = document.getElementById('open') ? 'open' : 'missing';
</script><script>document.write('<i id=next>next</i>');</script></div>)");
    EXPECT_EQ(GetText(ElementById(L"w").Get(), L"innerHTML"), L"filled");
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerHTML"), L"filled");
    EXPECT_EQ(Eval(L"seen"), L"open");
    // An element a script leaves open ends with that script; the next one writes after it.
    EXPECT_EQ(GetText(ElementById(L"open").Get(), L"innerHTML"), L"left open");
    EXPECT_EQ(Eval(L"document.getElementById('next').parentNode.id"), L"box");
    EXPECT_EQ(Eval(L"(function () { var c = document.getElementById('box').children, t = [];"
                   L" for (var i = 0; i < c.length; i++) t.push(c[i].tagName); return t.join(); })()"),
              L"SCRIPT,DIV,SPAN,B,SCRIPT,I");
}

}  // namespace
}  // namespace corvalin::browser::testing
