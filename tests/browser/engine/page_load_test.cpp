// Loopback server first: its socket header must come before windows.h.
#include "browser/engine/page_fixture.h"

#include <windows.h>
#include <wininet.h>

#include "base/text.h"
#include "base/unique.h"

namespace corvalin::browser::testing {
namespace {

using PageLoadTest = PageTest;

TEST_F(PageLoadTest, RealWorldMarkupArrivesAsATree) {
    Serve("/", R"(<!-- a service page --><title>Hang &amp; service</title>
<style>p > b { color: red } /* a < b */</style>
<p class=intro>first<p>second &lt;tag&gt; &copy; &#20013;&#x6587;
<ul><li>one<li>two<li>three</ul>
<table id=grid><tr><td>a<td>b<tr><td>c<td>d</table>
<input name=userqq value=12345><input type=password name=pwd>
<span id=zt_msg>ready</span>
<script>if (1 < 2 && "</p>".length == 4) document.getElementById("zt_msg").innerHTML = "script ran";</script>)");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    ComPtr<IDispatch> document = Document();
    ASSERT_TRUE(document);
    EXPECT_EQ(GetText(document.Get(), L"title"), L"Hang & service");
    auto count = [&](const wchar_t* tag) {
        return GetText(CallObject(document.Get(), L"getElementsByTagName", {TextArg(tag)}).Get(), L"length");
    };
    EXPECT_EQ(count(L"p"), L"2");
    EXPECT_EQ(count(L"li"), L"3");
    EXPECT_EQ(count(L"td"), L"4");
    EXPECT_EQ(count(L"body"), L"1");
    ComPtr<IDispatch> second = CallObject(CallObject(document.Get(), L"getElementsByTagName", {TextArg(L"p")}).Get(),
                                          L"item", {NumberArg(1)});
    EXPECT_EQ(GetText(second.Get(), L"innerText").substr(0, 24), L"second <tag> \u00a9 \u4e2d\u6587");
    EXPECT_EQ(GetText(ElementById(L"zt_msg").Get(), L"innerHTML"), L"script ran");
    EXPECT_TRUE(box_->ScriptErrors().empty());
    EXPECT_EQ(box_->HttpStatus(), 200);
}

TEST_F(PageLoadTest, ChineseTextArrivesRightInGbkAndUtf8Pages) {
    const std::string gbk = corvalin::EncodeCodePage(L"<span id=s>\u72b6\u6001\uff1a\u5728\u7ebf</span>", 936);
    const std::string utf8 = corvalin::EncodeCodePage(L"<span id=s>\u72b6\u6001\uff1a\u5728\u7ebf</span>", CP_UTF8);
    Serve("/gbk-header", gbk, "text/html; charset=gbk");
    Serve("/gb2312-meta", "<meta http-equiv=Content-Type content=\"text/html; charset=gb2312\">" + gbk, "text/html");
    Serve("/utf8-header", utf8, "text/html; charset=utf-8");
    Serve("/utf8-meta", "<meta charset=\"utf-8\">" + utf8, "text/html");
    ASSERT_GT(server_.Start(), 0);
    struct Case { const char* path; const wchar_t* charset; };
    const Case cases[] = {{"/gbk-header", L"gbk"}, {"/gb2312-meta", L"gb2312"}, {"/utf8-header", L"utf-8"}, {"/utf8-meta", L"utf-8"}};
    for (const auto& c : cases) {
        Load(Url(c.path));
        EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerText"), L"\u72b6\u6001\uff1a\u5728\u7ebf") << c.path;
        EXPECT_EQ(GetText(Document().Get(), L"charset"), c.charset) << c.path;
    }
}

TEST_F(PageLoadTest, RedirectsEndAtTheFinalAddress) {
    server_.server().Get("/old", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("/new?from=old");
    });
    Serve("/new", "<span id=s>moved</span>");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/old"));
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerText"), L"moved");
    EXPECT_EQ(GetText(Document().Get(), L"url"), Url("/new?from=old"));
    EXPECT_EQ(Eval(L"location.pathname + location.search"), L"/new?from=old");
}

TEST_F(PageLoadTest, CookiesSetByThePageGoWithLaterRequestsAndPlainWinInet) {
    server_.server().Get("/login", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Set-Cookie", "sid=s3cr3t; path=/");
        response.set_content("<span id=s>logged in</span>", "text/html");
    });
    server_.server().Get("/echo", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content("<span id=s>" + request.get_header_value("Cookie") + "</span>", "text/html");
    });
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/login"));
    Load(Url("/echo"));
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerText"), L"sid=s3cr3t");
    EXPECT_EQ(GetText(Document().Get(), L"cookie"), L"sid=s3cr3t");

    // The program's own downloads use WinINet directly and must carry it too.
    UniqueInternetHandle session(InternetOpenA("test", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    UniqueInternetHandle request(InternetOpenUrlA(session.get(), server_.Url("/echo").c_str(), "Connection: close\r\n", static_cast<DWORD>(-1),
                                                  INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
    ASSERT_TRUE(request);
    char buffer[512] = {};
    DWORD read = 0;
    InternetReadFile(request.get(), buffer, sizeof buffer - 1, &read);
    EXPECT_NE(std::string(buffer, read).find("sid=s3cr3t"), std::string::npos) << buffer;
}

TEST_F(PageLoadTest, BadResponsesEndInADocumentWithoutCrashOrHang) {
    RawServer raw([](SOCKET client) {
        char request[4096];
        recv(client, request, sizeof request, 0);
        if (std::string(request).find("GET /truncated") == 0) {
            const char answer[] = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 100000\r\n\r\n<span id=s>partial";
            send(client, answer, sizeof answer - 1, 0);
        }
        // "/closed": no answer at all.
    });
    std::string garbage(300000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 7919u + (i >> 3)) & 0xFF);
    server_.server().Get("/garbage", [garbage](const httplib::Request&, httplib::Response& response) {
        response.set_content(garbage, "text/html");
    });
    server_.server().Get("/huge", [](const httplib::Request&, httplib::Response& response) {
        std::string body = "<span id=s>big</span>";
        body.append(20u << 20, 'x');
        response.set_content(body, "text/html");
    });
    ASSERT_GT(server_.Start(), 0);
    CreateBox();
    const std::string unreachable = "http://127.0.0.1:" + std::to_string(corvalin::testing::UnusedLoopbackPort()) + "/";
    struct Case { std::string url; const wchar_t* span; };
    const Case cases[] = {
        {raw.Url("/truncated"), L"partial"},
        {raw.Url("/closed"), L""},
        {server_.Url("/garbage"), L""},
        {server_.Url("/huge"), L"big"},
        {unreachable, L""},
    };
    for (const auto& c : cases) {
        const unsigned before = box_->LoadCount();
        box_->Navigate(std::wstring(c.url.begin(), c.url.end()));
        ASSERT_TRUE(box_->WaitForLoad(60000)) << c.url;
        EXPECT_EQ(box_->LoadCount(), before + 1) << c.url;
        ComPtr<IDispatch> document = Document();
        ASSERT_TRUE(document) << c.url;
        EXPECT_TRUE(GetObject(document.Get(), L"body")) << c.url;
        if (*c.span) {
            EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerText"), c.span) << c.url;
        }
    }
    EXPECT_EQ(GetText(Document().Get(), L"fileSize"), L"0");
}

}  // namespace
}  // namespace corvalin::browser::testing

namespace corvalin::browser::testing {
namespace {

TEST_F(PageLoadTest, FramesLoadTheirPagesBeforeOnload) {
    Serve("/", "<body onload=\"document.title = document.frames.length\">"
               "<iframe src=/a></iframe><iframe src=/b></iframe><iframe></iframe></body>");
    Serve("/a", "<span id=s>frame a</span>");
    server_.server().Get("/b", [](const httplib::Request&, httplib::Response& response) {
        Sleep(200);
        response.set_content("<frameset><frame src=/a></frameset>", "text/html");
    });
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    ComPtr<IDispatch> frames = GetObject(Document().Get(), L"frames");
    EXPECT_EQ(GetText(frames.Get(), L"length"), L"3");
    EXPECT_EQ(GetText(Document().Get(), L"title"), L"3");
    auto frameDocument = [&](IDispatch* collection, double i) {
        return GetObject(CallObject(collection, L"item", {NumberArg(i)}).Get(), L"document");
    };
    ComPtr<IDispatch> a = frameDocument(frames.Get(), 0);
    EXPECT_EQ(GetText(CallObject(a.Get(), L"getElementById", {TextArg(L"s")}).Get(), L"innerText"), L"frame a");
    ComPtr<IDispatch> b = frameDocument(frames.Get(), 1);
    ComPtr<IDispatch> nested = frameDocument(GetObject(b.Get(), L"frames").Get(), 0);
    EXPECT_EQ(GetText(nested.Get(), L"url"), Url("/a"));
    EXPECT_EQ(GetText(frameDocument(frames.Get(), 2).Get(), L"url"), L"about:blank");
}

}  // namespace
}  // namespace corvalin::browser::testing
