// Elements as pages of that browser's era use them: functions stored on them,
// handlers called as methods, attributes and properties as one, and the
// browser's own tree methods.
#include "browser/engine/page_fixture.h"

namespace corvalin::browser::testing {
namespace {

using ElementMembersTest = PageTest;

TEST_F(ElementMembersTest, AFunctionStoredOnAnElementGetsItAsThis) {
    LoadMarkup(L"<div id=d title=mine>x</div>");
    EXPECT_EQ(Eval(L"(function () { var d = document.getElementById('d'); d.f = function (a) { return this.title + a; }; return d.f('!'); })()"),
              L"mine!");
}

TEST_F(ElementMembersTest, AHandlerCalledAsAMethodRuns) {
    LoadMarkup(LR"html(<script>var seen = [];</script>
<div id=attr onmousedown="seen.push('attr:' + this.id)">a</div><div id=fn>b</div>)html");
    box_->ExecScript(L"document.getElementById('fn').onmousedown = function (x) { seen.push(this.id + ':' + x); return 5; };");
    EXPECT_EQ(Eval(L"document.getElementById('fn').onmousedown('x')"), L"5");
    box_->ExecScript(L"document.getElementById('attr').onmousedown('ignored')");
    EXPECT_EQ(Eval(L"seen.join()"), L"fn:x,attr:attr");
}

TEST_F(ElementMembersTest, PropertiesAndAttributesAreOne) {
    LoadMarkup(L"<div id=d data=markup style='color: red'>x</div>");
    EXPECT_EQ(Eval(L"(function () { var d = document.getElementById('d'); d.myattr = 'set'; return d.getAttribute('myattr'); })()"),
              L"set");
    EXPECT_EQ(Eval(L"document.getElementById('d').removeAttribute('neverthere')"), L"0");
    // style: the object, and setAttribute leaves it alone.
    EXPECT_EQ(Eval(L"document.getElementById('d').getAttribute('style').color"), L"red");
    box_->ExecScript(L"document.getElementById('d').setAttribute('style', 'color: blue')");
    EXPECT_EQ(Eval(L"document.getElementById('d').style.color"), L"red");
}

TEST_F(ElementMembersTest, AttributesListWhatTheElementHas) {
    LoadMarkup(L"<input id=i name=n value=v>");
    EXPECT_EQ(Eval(L"document.getElementById('i').attributes.length"), L"3");
    EXPECT_EQ(Eval(L"(function () { var a = document.getElementById('i').attributes, out = []; for (var k = 0; k < a.length; k++) out.push(a[k].name + '=' + a.item(k).value); return out.join(); })()"),
              L"id=i,name=n,value=v");
    EXPECT_EQ(Eval(L"document.getElementById('i').attributes.getNamedItem('name').value"), L"n");
    EXPECT_EQ(Eval(L"(function () { var a = document.getElementById('i').attributes.getNamedItem('value'); a.value = 'w'; return a.specified + ':' + document.getElementById('i').getAttribute('value'); })()"),
              L"true:w");
}

TEST_F(ElementMembersTest, AttributeMethodsTakeTheBrowsersCaseDefaultsAndAnswerTextOnRequest) {
    LoadMarkup(L"<div id=d lang=en style='color: red'>x</div>");
    const std::wstring d = L"document.getElementById('d')";
    auto eval = [&](const std::wstring& code) { return Eval(L"String((function () { var d = " + d + L"; " + code + L" })())"); };
    // getAttribute ignores the case of the name unless flagged 1.
    EXPECT_EQ(eval(L"return d.getAttribute('LANG');"), L"en");
    EXPECT_EQ(eval(L"return d.getAttribute('LANG', 1) === null;"), L"true");
    EXPECT_EQ(eval(L"return d.getAttribute('lang', 1);"), L"en");
    // setAttribute respects the case unless flagged 0: another case makes a
    // second attribute, and the case-blind read finds the one made last.
    EXPECT_EQ(eval(L"d.setAttribute('LANG', 'fr'); return d.getAttribute('LANG', 1) + ':' + d.getAttribute('lang') + ':' + d.getAttribute('lang', 1) + ':' + d.attributes.length;"),
              L"fr:fr:en:4");
    EXPECT_EQ(eval(L"d.setAttribute('LANG', 'de', 0); return d.getAttribute('lang', 1) + ':' + d.getAttribute('LANG', 1);"), L"de:fr");
    // removeAttribute respects the case unless flagged 0, which removes the one made last.
    EXPECT_EQ(eval(L"return d.removeAttribute('Lang');"), L"false");
    EXPECT_EQ(eval(L"return d.removeAttribute('lang', 0) + ':' + (d.getAttribute('LANG', 1) === null) + ':' + d.getAttribute('lang');"), L"true:true:de");
    EXPECT_EQ(eval(L"return d.removeAttribute('lang') + ':' + (d.getAttribute('lang') === null);"), L"true:true");
    // Properties script added follow the same rule, in the case they were made with.
    EXPECT_EQ(eval(L"d.myCount = 5; return d.getAttribute('mycount') + ':' + (d.getAttribute('mycount', 1) === null) + ':' + d.getAttribute('myCount', 1)"
                   L" + ':' + d.removeAttribute('MYCOUNT') + ':' + d.removeAttribute('myCount') + ':' + (d.getAttribute('myCount') === null);"),
              L"5:true:5:false:true:true");
    // 2: the value as text: a number added by script, and the style's text
    // where no flag answers its object.
    EXPECT_EQ(eval(L"d.myNumber = 7; return typeof d.getAttribute('myNumber') + ':' + typeof d.getAttribute('myNumber', 2);"), L"number:string");
    EXPECT_EQ(eval(L"return typeof d.getAttribute('style') + ':' + d.getAttribute('style', 2).toLowerCase();"), L"object:color: red");
    // The property names the methods take match exactly too under 1.
    EXPECT_EQ(eval(L"d.setAttribute('className', 'k', 1); return d.className + ':' + (d.getAttribute('CLASSNAME', 1) === null);"), L"k:true");
    EXPECT_EQ(eval(L"d.setAttribute('CLASSNAME', 'z'); return d.className + ':' + d.getAttribute('CLASSNAME', 1);"), L"k:z");
}

TEST_F(ElementMembersTest, AnInputsValueFollowsSetAttributeOnlyUnderItsOwnName) {
    LoadMarkup(L"<input id=i value=a>");
    const std::wstring i = L"document.getElementById('i')";
    box_->ExecScript(i + L".setAttribute('VALUE', 'upper')");
    EXPECT_EQ(Eval(i + L".value"), L"a");
    box_->ExecScript(i + L".setAttribute('VALUE', 'blind', 0)");
    EXPECT_EQ(Eval(i + L".value"), L"blind");
    box_->ExecScript(i + L".setAttribute('value', 'exact')");
    EXPECT_EQ(Eval(i + L".value"), L"exact");
}

TEST_F(ElementMembersTest, TheBrowsersOwnMembersAnswer) {
    LoadMarkup(L"<div id=a accesskey=k hidefocus>a</div><div id=b>b</div><span id=c contenteditable=true><i id=inner>i</i></span>");
    EXPECT_EQ(Eval(L"document.getElementById('a').accessKey"), L"k");
    EXPECT_EQ(Eval(L"document.getElementById('a').hideFocus"), L"-1");
    EXPECT_EQ(Eval(L"document.getElementById('b').hideFocus"), L"0");
    EXPECT_EQ(Eval(L"document.getElementById('b').contentEditable"), L"inherit");
    EXPECT_EQ(Eval(L"document.getElementById('c').contentEditable"), L"true");
    EXPECT_EQ(Eval(L"document.getElementById('inner').isContentEditable"), L"-1");
    // uniqueID: new for each element, the same on every read.
    EXPECT_EQ(Eval(L"(function () { var a = document.getElementById('a'); return a.uniqueID == a.uniqueID && a.uniqueID != document.getElementById('b').uniqueID && a.uniqueID.indexOf('ms__id') == 0; })()"),
              L"-1");
}

TEST_F(ElementMembersTest, MergeSwapApplyAndReplaceRearrangeTheTree) {
    LoadMarkup(L"<div id=box><p id=one class=c1 title=t>1</p><p id=two>2</p></div>");
    // mergeAttributes copies all but the identity unless told otherwise.
    box_->ExecScript(L"document.getElementById('two').mergeAttributes(document.getElementById('one'))");
    EXPECT_EQ(Eval(L"document.getElementById('two').className + '/' + document.getElementById('two').title"), L"c1/t");
    EXPECT_EQ(Eval(L"document.getElementById('one').id"), L"one");
    // swapNode exchanges places.
    box_->ExecScript(L"document.getElementById('one').swapNode(document.getElementById('two'))");
    EXPECT_EQ(Eval(L"document.getElementById('box').innerText"), L"2\r\n1");
    // applyElement wraps, outside by default and inside on request.
    box_->ExecScript(L"document.getElementById('one').applyElement(document.createElement('b'))");
    EXPECT_EQ(Eval(L"document.getElementById('one').parentNode.tagName"), L"B");
    box_->ExecScript(L"var i = document.createElement('i'); i.id = 'wrap'; document.getElementById('two').applyElement(i, 'inside')");
    EXPECT_EQ(Eval(L"document.getElementById('two').firstChild.id + ':' + document.getElementById('wrap').innerText"), L"wrap:2");
    // replaceNode puts another node in its place.
    box_->ExecScript(L"var s = document.createElement('span'); s.id = 'fresh'; document.getElementById('two').replaceNode(s)");
    EXPECT_EQ(Eval(L"document.getElementById('two') == null && document.getElementById('fresh').parentNode.id == 'box'"), L"-1");
}

TEST_F(ElementMembersTest, TextSplitsIntoTwoNodes) {
    LoadMarkup(L"<p id=p>hello world</p>");
    EXPECT_EQ(Eval(L"(function () { var t = document.getElementById('p').firstChild; var rest = t.splitText(5); return t.data + '|' + rest.data + '|' + document.getElementById('p').childNodes.length; })()"),
              L"hello| world|2");
}

}  // namespace
}  // namespace corvalin::browser::testing
