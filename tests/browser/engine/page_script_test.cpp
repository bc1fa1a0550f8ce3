// Loopback server first: its socket header must come before windows.h.
#include "browser/engine/page_fixture.h"

#include <atomic>
#include <memory>

#include "base/text.h"
#include "browser/om/dispatch_object.h"
#include "support/message_pump.h"

namespace corvalin::browser::testing {
namespace {

using PageScriptTest = PageTest;
using corvalin::testing::PumpUntil;

TEST_F(PageScriptTest, ScriptsRunInDocumentOrderInlineAndExternal) {
    Serve("/a.js", "log.push('external a');", "application/javascript");
    server_.server().Get("/slow.js", [](const httplib::Request&, httplib::Response& response) {
        Sleep(300);   // a slow script still runs before the ones after it
        response.set_content("log.push('slow');", "application/javascript");
    });
    Serve("/", R"html(<script>var log = ['inline 1'];</script>
<script src="a.js"></script><script src="/slow.js"></script>
<script type="text/javascript">log.push('inline 2');</script>
<script type="text/template">log.push('never');</script>
<body onload="log.push('onload')"><span id=s></span></body>)html");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    EXPECT_EQ(Eval(L"log.join()"), L"inline 1,external a,slow,inline 2,onload");
}

TEST_F(PageScriptTest, AScriptErrorDoesNotStopTheScriptsAfterIt) {
    LoadMarkup(LR"(<span id=s>start</span>
<script>document.getElementById('s').innerHTML = 'first';</script>
<script>this is not javascript at all(</script>
<script>undefinedFunction();</script>
<script>document.getElementById('s').innerHTML += ' and last';</script>)");
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerHTML"), L"first and last");
    const auto errors = box_->ScriptErrors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_FALSE(errors[0].message.empty());
}

TEST_F(PageScriptTest, VBScriptAndExecScriptShareTheWindow) {
    LoadMarkup(LR"(<span id=s></span>
<script language="VBScript">
Sub SetSpan(text)
  document.getElementById("s").innerHTML = text
End Sub
</script>)");
    EXPECT_TRUE(box_->ExecScript(L"SetSpan \"from vbscript\"", L"VBScript"));
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerHTML"), L"from vbscript");
    // The toolkit's way: parentWindow.execScript(code, language).
    ComPtr<IDispatch> window = GetObject(Document().Get(), L"parentWindow");
    ASSERT_TRUE(window);
    EXPECT_EQ(CallMethod(window.Get(), L"execScript", {TextArg(L"document.getElementById('s').innerHTML = navigator.userAgent.indexOf('MSIE') > 0"), TextArg(L"JScript")}), S_OK);
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerHTML"), L"true");
    EXPECT_EQ(Eval(L"window == window.self && document.parentWindow == window && top == window"), L"-1");
}

TEST_F(PageScriptTest, AttributesNeverSetReadAsEmptyTextInBothLanguages) {
    LoadMarkup(LR"(<span id=s class=c>text</span>)");
    EXPECT_EQ(Eval(L"var s = document.getElementById('s'); [typeof s.title, s.title === '', s.lang.length, "
                   L"'<' + s.title + '>', s.title ? 'set' : 'unset', s.dir == '', s.className].join()"),
              L"string,true,0,<>,unset,true,c");
    EXPECT_TRUE(box_->ExecScript(L"Set s = document.getElementById(\"s\")\n"
                                 L"r = \"[\" & s.title & \"]\" & Len(s.lang)\n"
                                 L"If s.dir = \"\" Then r = r & \"empty\"\n"
                                 L"s.innerHTML = r & s.className",
                                 L"VBScript"));
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerHTML"), L"[]0emptyc");
}

// The browser's innerHTML is read-only on the parts of a table: a write fails
// with an error the script can catch, and the table stays as it was. Its cells
// take markup like any element.
TEST_F(PageScriptTest, InnerHtmlOfTablePartsIsReadOnly) {
    LoadMarkup(LR"(<table id=t><colgroup id=cg><col id=c></colgroup><thead id=h><tr><th>h</tr></thead>
<tbody id=b><tr id=r><td id=d>cell</td></tr></tbody><tfoot id=f><tr><td>f</tr></tfoot></table>)");
    const std::wstring before = GetText(ElementById(L"t").Get(), L"innerHTML");
    EXPECT_EQ(Eval(LR"((function () {
        var failed = [];
        var ids = ['t', 'cg', 'c', 'h', 'b', 'r', 'f'];
        for (var i = 0; i < ids.length; ++i) {
            try { document.getElementById(ids[i]).innerHTML = '<tr><td>new</td></tr>'; } catch (e) { failed.push(ids[i]); }
        }
        try { document.getElementsByTagName('head')[0].innerHTML = '<title>x</title>'; } catch (e) { failed.push('head'); }
        document.getElementById('d').innerHTML = '<b>bold</b>';
        return failed.join();
    })())"),
              L"t,cg,c,h,b,r,f,head");
    EXPECT_EQ(GetText(ElementById(L"d").Get(), L"innerHTML"), L"<B>bold</B>");
    std::wstring expected = before;
    expected.replace(expected.find(L">cell<") + 1, 4, L"<B>bold</B>");
    EXPECT_EQ(GetText(ElementById(L"t").Get(), L"innerHTML"), expected);
    // insertAdjacentHTML still reaches into a table.
    EXPECT_EQ(Eval(L"document.getElementById('b').insertAdjacentHTML('beforeEnd', '<tr><td>added</td></tr>'); "
                   L"document.getElementById('t').rows.length"),
              L"4");
}

// innerText follows innerHTML; outerHTML and outerText refuse to replace a
// table's inner parts (its cells too) but replace the table itself.
TEST_F(PageScriptTest, TextAndOuterWritesOfTablePartsFollowTheBrowser) {
    LoadMarkup(LR"(<table id=t><caption id=cap>c</caption><tbody id=b><tr id=r><th id=h>h</th><td id=d>cell</td></tr>
</tbody></table><p><span id=s>span</span></p>)");
    EXPECT_EQ(Eval(LR"((function () {
        var failed = [];
        function attempt(id, member, value) {
            try { document.getElementById(id)[member] = value; } catch (e) { failed.push(id + '.' + member); }
        }
        attempt('b', 'innerText', 'x'); attempt('r', 'innerText', 'x'); attempt('d', 'innerText', 'text');
        attempt('r', 'outerHTML', '<tr><td>x</td></tr>'); attempt('h', 'outerText', 'x');
        attempt('d', 'outerHTML', '<td>x</td>'); attempt('cap', 'outerText', 'x'); attempt('b', 'outerHTML', '');
        try { document.documentElement.outerHTML = '<html></html>'; } catch (e) { failed.push('html.outerHTML'); }
        attempt('s', 'outerText', 'plain');
        return failed.join();
    })())"),
              L"b.innerText,r.innerText,r.outerHTML,h.outerText,d.outerHTML,cap.outerText,b.outerHTML,html.outerHTML");
    EXPECT_EQ(GetText(ElementById(L"d").Get(), L"innerHTML"), L"text");
    EXPECT_EQ(Eval(L"document.getElementById('t').rows[0].cells.length"), L"2");
    EXPECT_EQ(Eval(L"document.getElementsByTagName('p')[0].innerHTML"), L"plain");
    EXPECT_EQ(Eval(L"document.getElementById('t').outerHTML = '<div id=t>gone</div>'; "
                   L"document.getElementById('t').tagName + document.getElementsByTagName('table').length"),
              L"DIV0");
}

TEST_F(PageScriptTest, HandlersSeeThisAndEventAndCanCancelTheDefault) {
    LoadMarkup(LR"(<span id=s></span>
<a id=link href="http://127.0.0.1:1/never" onclick="document.getElementById('s').innerHTML = this.id + ':' + event.srcElement.tagName + ':' + event.type; return false">go</a>
<div id=outer onclick="document.getElementById('s').innerHTML += '|outer'"><b id=inner>x</b></div>
<input id=box type=text onchange="this.value = 'changed'">)", L"http://127.0.0.1/page");
    const unsigned loads = box_->LoadCount();
    EXPECT_EQ(CallMethod(ElementById(L"link").Get(), L"click"), S_OK);
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerHTML"), L"link:A:click");
    corvalin::testing::PumpMessagesFor(200);
    EXPECT_EQ(box_->LoadCount(), loads);
    EXPECT_FALSE(box_->IsLoading());

    // A handler assigned from script on the inner element, bubbling to the attribute one.
    box_->ExecScript(L"document.getElementById('inner').onclick = function () { document.getElementById('s').innerHTML = 'inner:' + (this.id) + ':' + window.event.srcElement.id; };");
    CallMethod(ElementById(L"inner").Get(), L"click");
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerHTML"), L"inner:inner:inner|outer");
    box_->ExecScript(L"document.getElementById('inner').onclick = function () { event.cancelBubble = true; document.getElementById('s').innerHTML = 'alone'; };");
    CallMethod(ElementById(L"inner").Get(), L"click");
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerHTML"), L"alone");

    EXPECT_EQ(CallMethod(ElementById(L"box").Get(), L"fireEvent", {TextArg(L"onchange")}), S_OK);
    EXPECT_EQ(GetText(ElementById(L"box").Get(), L"value"), L"changed");
}

TEST_F(PageScriptTest, DialogsGoToTheHandlerInsteadOfAMessageBox) {
    std::vector<std::wstring> seen;
    CreateBox();
    box_->SetDialogHandler([&](const DialogRequest& request) {
        seen.push_back(request.message);
        if (request.kind == DialogKind::Prompt) return DialogAnswer{true, request.defaultText + L"!"};
        return DialogAnswer{request.kind != DialogKind::Confirm, L""};
    });
    LoadMarkup(LR"(<script>alert('hello'); var c = confirm('sure?'); var p = prompt('name', 'bob');</script>)");
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"hello", L"sure?", L"name"}));
    EXPECT_EQ(Eval(L"c + ',' + p"), L"false,bob!");
    // What the toolkit does to keep a page quiet.
    box_->ExecScript(L"function alert(){return;}");
    box_->ExecScript(L"alert('silenced')");
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(PageScriptTest, TimersRunOnTheUiThreadAndCanBeCleared) {
    LoadMarkup(LR"(<span id=s></span><script>
var ticks = 0, once = 0;
var id = setInterval(function () { if (++ticks == 3) clearInterval(id); }, 20);
setTimeout("once++", 10);
var cancelled = setTimeout(function () { once += 100; }, 30);
clearTimeout(cancelled);
window.status = 'ready';
</script>)");
    EXPECT_TRUE(PumpUntil([&] { return Eval(L"ticks") == L"3" && Eval(L"once") == L"1"; }, 3000));
    corvalin::testing::PumpMessagesFor(150);
    EXPECT_EQ(Eval(L"ticks + ',' + once"), L"3,1");
    EXPECT_EQ(box_->StatusText(), L"ready");
}

TEST_F(PageScriptTest, APollingTimerWritesTheServiceStatusIntoASpan) {
    // Owned by the handler too: the page keeps polling, and requests already
    // sent still arrive, after this body has returned and until TearDown.
    const auto polls = std::make_shared<std::atomic<int>>(0);
    server_.server().Get("/status", [polls](const httplib::Request&, httplib::Response& response) {
        const int n = ++*polls;
        response.set_content(corvalin::EncodeCodePage(n < 3 ? L"\u6392\u961f\u4e2d" : L"\u6302\u673a\u4e2d", 936),
                             "text/plain; charset=gbk");
    });
    Serve("/", R"(<span id=zt_msg>init</span><script>
setInterval(function () {
  var x = new XMLHttpRequest();
  x.open("GET", "/status?t=" + new Date().getTime(), true);
  x.onreadystatechange = function () {
    if (x.readyState == 4 && x.status == 200) document.getElementById("zt_msg").innerHTML = x.responseText;
  };
  x.send(null);
}, 50);
</script>)");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    EXPECT_TRUE(PumpUntil([&] { return GetText(ElementById(L"zt_msg").Get(), L"innerHTML") == L"\u6302\u673a\u4e2d"; }, 5000))
        << GetText(ElementById(L"zt_msg").Get(), L"innerHTML");
    EXPECT_GE(polls->load(), 3);
}

TEST_F(PageScriptTest, XmlHttpRequestSyncWithHeadersAndBody) {
    server_.server().Post("/api", [](const httplib::Request& request, httplib::Response& response) {
        response.set_header("X-Answer", "42");
        response.status = 201;
        response.set_content(request.get_header_value("X-Token") + "|" + request.body, "text/plain");
    });
    Serve("/", "<span id=s></span>");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    EXPECT_EQ(Eval(LR"((function () {
  var x = new XMLHttpRequest(), states = [];
  x.onreadystatechange = function () { states.push(x.readyState); };
  x.open("POST", "api", false);
  x.setRequestHeader("X-Token", "abc");
  x.send("a=1&b=2");
  return [x.status, x.statusText, x.responseText, x.getResponseHeader("x-answer"), states.join("")].join(",");
})())"),
              L"201,Created,abc|a=1&b=2,42,14");
}

// A handler that refers to its own request is a cycle through the script
// engine that no collector can see; the request lets go of its handler once
// it has finished, as that browser does, so a page polling once a second
// does not keep every request it ever made.
TEST_F(PageScriptTest, FinishedRequestsLetGoOfTheirHandlers) {
    std::atomic<int> answered{0};
    server_.server().Get("/status", [&answered](const httplib::Request&, httplib::Response& response) {
        ++answered;
        response.set_content("ok", "text/plain");
    });
    Serve("/", "<span id=s></span>");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    // As the service page polls: each request in a scope of its own.
    const wchar_t* poll = LR"((function () {
  function one(i) {
    var x = new XMLHttpRequest();
    x.open("GET", "/status?t=" + i, false);
    x.onreadystatechange = function () { if (x.readyState == 4) document.getElementById("s").innerHTML = x.responseText; };
    x.send(null);
  }
  for (var i = 0; i < 50; ++i) one(i);
  return document.getElementById("s").innerHTML;
})())";
    EXPECT_EQ(Eval(poll), L"ok");
    const std::size_t objects = om::DispatchObject::LiveCount();
    EXPECT_EQ(Eval(poll), L"ok");
    EXPECT_EQ(Eval(poll), L"ok");
    Eval(L"CollectGarbage()");
    EXPECT_LE(om::DispatchObject::LiveCount(), objects + 2);
    EXPECT_EQ(answered.load(), 150);
}

TEST_F(PageScriptTest, LocationAndNavigateLoadNewDocuments) {
    Serve("/one", "<span id=s>one</span>");
    Serve("/two", "<span id=s>two</span>");
    Serve("/three", "<span id=s>three</span><a id=a href='one' target=_blank>back</a>");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/one"));
    auto navigated = [&](const std::wstring& code, const wchar_t* expected) {
        const unsigned loads = box_->LoadCount();
        box_->ExecScript(code);
        EXPECT_TRUE(PumpUntil([&] { return box_->LoadCount() > loads && !box_->IsLoading(); }, 5000)) << code;
        EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerText"), expected) << code;
    };
    navigated(L"location.href = 'two'", L"two");
    navigated(L"window.navigate('/three')", L"three");
    navigated(L"document.getElementById('a').click()", L"one");
    navigated(L"location.reload()", L"one");
    EXPECT_EQ(GetText(Document().Get(), L"url"), Url("/one"));
}

}  // namespace
}  // namespace corvalin::browser::testing

namespace corvalin::browser::testing {
namespace {

TEST_F(PageScriptTest, PopupsShowTheirOwnDocumentInAWindow) {
    LoadMarkup(L"<span id=s></span>");
    ComPtr<IDispatch> window = GetObject(Document().Get(), L"parentWindow");
    ComPtr<IDispatch> popup = CallObject(window.Get(), L"createPopup", {});
    ASSERT_TRUE(popup);
    ComPtr<IDispatch> body = GetObject(GetObject(popup.Get(), L"document").Get(), L"body");
    ASSERT_TRUE(body);
    EXPECT_TRUE(PutText(body.Get(), L"innerHTML", L"<b>hint</b>"));
    EXPECT_EQ(GetText(popup.Get(), L"isOpen"), L"0");
    EXPECT_EQ(CallMethod(popup.Get(), L"show", {NumberArg(10), NumberArg(20), NumberArg(120), NumberArg(40)}), S_OK);
    EXPECT_EQ(GetText(popup.Get(), L"isOpen"), L"-1");
    HWND shown = FindWindowA("Corvalin.BrowserPopup", nullptr);
    ASSERT_NE(shown, nullptr);
    RECT r;
    GetWindowRect(shown, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right - r.left, 120);
    EXPECT_EQ(CallMethod(popup.Get(), L"hide"), S_OK);
    EXPECT_EQ(GetText(popup.Get(), L"isOpen"), L"0");
}

TEST_F(PageScriptTest, StringTimersMayNameTheirLanguage) {
    LoadMarkup(L"<span id=s></span><script>setTimeout('document.getElementById(\"s\").innerHTML = \"vb \" & 1 + 1', 10, 'VBScript');</script>");
    EXPECT_TRUE(PumpUntil([&] { return GetText(ElementById(L"s").Get(), L"innerHTML") == L"vb 2"; }, 2000))
        << GetText(ElementById(L"s").Get(), L"innerHTML");
}

}  // namespace
}  // namespace corvalin::browser::testing

namespace corvalin::browser::testing {
namespace {

TEST_F(PageScriptTest, OptionAndImageConstructorsMakeElements) {
    LoadMarkup(L"<select id=sel></select><script>"
               L"var s = document.getElementById('sel'); s.options.add(new Option('two', '2'));"
               L"var i = new Image(); i.src = 'http://127.0.0.1/yzm.php?t=1';</script>");
    EXPECT_EQ(Eval(L"s.options.length + ':' + s.options(0).text + ':' + s.value + ':' + i.tagName"), L"1:two:2:IMG");
}

}  // namespace
}  // namespace corvalin::browser::testing

namespace corvalin::browser::testing {
namespace {

TEST_F(PageScriptTest, LoadScriptsWriteIntoThePageAndOnloadHandlersRunOnce) {
    LoadMarkup(LR"html(<body><div id=d>before<script>document.write('<span id=w>written</span>');</script>after</div>
<script>var loads = [];
window.onload = function () { loads.push('onload ' + document.readyState); };
window.attachEvent('onload', function () { loads.push('attached'); });</script></body>)html");
    EXPECT_EQ(GetText(ElementById(L"w").Get(), L"innerText"), L"written");
    EXPECT_EQ(GetText(ElementById(L"d").Get(), L"innerText"), L"beforewrittenafter");
    EXPECT_EQ(Eval(L"loads.join()"), L"onload complete,attached");
}

}  // namespace
}  // namespace corvalin::browser::testing
