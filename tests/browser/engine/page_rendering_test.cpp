// The box shown on screen: what script reads about geometry is where the
// pixels are, clicks land on what is painted, sheets, scrolling, zoom and
// images fetched with the page's cookie.
#include "browser/engine/page_fixture.h"

#include <objidl.h>
#include <shlwapi.h>

#include <cstdlib>
#include <vector>

#include "base/gdiplus_session.h"
#include "support/gui_objects.h"
#include "base/unique.h"
#include "support/dc_pixels.h"
#include "support/message_pump.h"

namespace corvalin::browser::testing {
namespace {

struct Picture {
    long width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(long x, long y) const { return x >= 0 && y >= 0 && x < width && y < height ? pixels[y * width + x] : CLR_INVALID; }
};

bool Near(COLORREF a, COLORREF b, int tolerance = 6) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Image files made with the platform's encoders: a solid colour with alpha.
std::string Encode(const wchar_t* clsidText, long width, long height, BYTE a, BYTE r, BYTE g, BYTE b) {
    const GdiplusSession gdiplus;
    EXPECT_TRUE(gdiplus.IsStarted());
    std::vector<UINT32> bits(width * height, (UINT32(a) << 24) | (UINT32(r) << 16) | (UINT32(g) << 8) | b);
    Gdiplus::GpBitmap* bitmap = nullptr;
    Gdiplus::DllExports::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppARGB,
                                                   reinterpret_cast<BYTE*>(bits.data()), &bitmap);
    CLSID clsid;
    CLSIDFromString(clsidText, &clsid);
    ComPtr<IStream> stream;
    stream.Attach(SHCreateMemStream(nullptr, 0));
    Gdiplus::DllExports::GdipSaveImageToStream(bitmap, stream.Get(), &clsid, nullptr);
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    return bytes;
}

// A GIF file written byte by byte: the platform's GIF encoder under Wine
// writes a frame without a colour table or pixel data from a 32-bit picture.
// 256-entry palette, 9-bit LZW codes with a clear code every 250 pixels so
// the code width never grows; `transparent` (when >= 0) marks that index.
std::string Gif(long width, long height, const std::vector<COLORREF>& palette, const std::vector<BYTE>& pixels, int transparent) {
    std::string out = "GIF89a";
    auto word = [&out](long v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
    };
    word(width);
    word(height);
    out += {'\xF7', '\0', '\0'};   // a global table of 256 colours
    for (size_t i = 0; i < 256; ++i) {
        const COLORREF c = i < palette.size() ? palette[i] : 0;
        out += {static_cast<char>(GetRValue(c)), static_cast<char>(GetGValue(c)), static_cast<char>(GetBValue(c))};
    }
    if (transparent >= 0) out += {'\x21', '\xF9', '\x04', '\x01', '\0', '\0', static_cast<char>(transparent), '\0'};
    out += '\x2C';
    word(0);
    word(0);
    word(width);
    word(height);
    out += {'\0', '\x08'};
    std::string codes;
    unsigned bits = 0, pending = 0;
    auto put = [&](unsigned code) {
        bits |= code << pending;
        for (pending += 9; pending >= 8; pending -= 8, bits >>= 8) codes += static_cast<char>(bits & 0xFF);
    };
    put(256);
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (i > 0 && i % 250 == 0) put(256);
        put(pixels[i]);
    }
    put(257);
    if (pending > 0) codes += static_cast<char>(bits & 0xFF);
    for (size_t i = 0; i < codes.size(); i += 255) {
        const size_t n = std::min<size_t>(255, codes.size() - i);
        out += static_cast<char>(n);
        out += codes.substr(i, n);
    }
    out += {'\0', '\x3B'};
    return out;
}

class PageRenderingTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        ShowWindow(parent_, SW_SHOWNOACTIVATE);
    }

    HWND Rendering() const { return box_->RenderingWindow(); }

    // The rendering window's pixels, read back from its DC after it painted.
    Picture Snapshot() {
        corvalin::testing::PumpMessagesFor(0);
        UpdateWindow(Rendering());
        RECT client;
        GetClientRect(Rendering(), &client);
        Picture picture;
        picture.width = client.right;
        picture.height = client.bottom;
        picture.pixels = corvalin::testing::ReadDcPixels(WindowDc(Rendering()).get(), picture.width, picture.height);
        return picture;
    }

    // The top left of the first pixel run of `color` (scanning rows).
    static POINT FindColor(const Picture& picture, COLORREF color, int tolerance = 0) {
        for (long y = 0; y < picture.height; ++y)
            for (long x = 0; x < picture.width; ++x)
                if (Near(picture.At(x, y), color, tolerance)) return {x, y};
        return {-1, -1};
    }

    // Page position summed up the offsetParent chain, less the view's scroll.
    POINT Position(const wchar_t* id) {
        const std::wstring text = Eval(std::wstring(L"pos('") + id + L"')");
        POINT p{-1, -1};
        swscanf(text.c_str(), L"%ld,%ld", &p.x, &p.y);
        return p;
    }

    static constexpr const wchar_t* kPositionScript =
        L"<script>function pos(id){var e=document.getElementById(id),x=0,y=0;"
        L"while(e){x+=e.offsetLeft;y+=e.offsetTop;e=e.offsetParent;}"
        L"return (x-document.documentElement.scrollLeft)+','+(y-document.documentElement.scrollTop);}</script>";
    // The same, for pages a server sends.
    static std::string PositionScriptBytes() { return std::string(kPositionScript, kPositionScript + wcslen(kPositionScript)); }
};

TEST_F(PageRenderingTest, OffsetsElementFromPointAndClicksMatchThePaintedPixels) {
    LoadMarkup(std::wstring(L"<html><head>") + kPositionScript + LR"(</head><body style="margin:8px">
        <div id=outer style="padding:6px; background:#fefefe"><div id=nested style="background:#ff0000; height:20px; width:50px"></div></div>
        <table cellspacing=3 border=0><tr><td rowspan=2 id=span1 style="background:#00ff00; width:40px">a</td>
        <td id=c2 style="background:#0000ff">bbbb</td></tr><tr><td id=c3 style="background:#ffff00">c</td></tr></table>
        <div id=abs style="position:absolute; left:300px; top:50px; width:40px; height:30px; background:#ff00ff"></div>
        <div id=floated style="float:right; width:30px; height:25px; background:#00ffff"></div>
        <button id=btn onclick="window.clicked=(window.clicked||0)+1">Press me</button>
        <div style="height:1000px"></div></body></html>)");
    struct Case {
        const wchar_t* id;
        COLORREF color;
    } cases[] = {{L"nested", RGB(255, 0, 0)}, {L"span1", RGB(0, 255, 0)}, {L"c2", RGB(0, 0, 255)},
                 {L"c3", RGB(255, 255, 0)}, {L"abs", RGB(255, 0, 255)}, {L"floated", RGB(0, 255, 255)}};
    for (const long scroll : {0L, 10L}) {
        Eval(L"document.documentElement.scrollTop=" + std::to_wstring(scroll));
        EXPECT_EQ(Eval(L"document.body.scrollTop"), std::to_wstring(scroll));
        const Picture picture = Snapshot();
        for (const Case& c : cases) {
            const POINT painted = FindColor(picture, c.color);
            const POINT read = Position(c.id);
            EXPECT_NEAR(painted.x, read.x, 1) << c.id << " scrolled " << scroll;
            EXPECT_NEAR(painted.y, read.y, 1) << c.id << " scrolled " << scroll;
        }
        for (const wchar_t* id : {L"outer", L"nested", L"span1", L"c2", L"c3", L"abs", L"floated", L"btn"}) {
            const POINT p = Position(id);
            const std::wstring e = L"document.getElementById('" + std::wstring(id) + L"')";
            const std::wstring centre = std::to_wstring(p.x) + L"+" + e + L".offsetWidth/2," + std::to_wstring(p.y) + L"+" + e + L".offsetHeight/2";
            EXPECT_EQ(Eval(L"document.elementFromPoint(" + centre + L").id"), id) << "scrolled " << scroll;
        }
    }
    // A click at the painted button's centre clicks it.
    const POINT button = Position(L"btn");
    const long x = button.x + std::stol(Eval(L"document.getElementById('btn').offsetWidth")) / 2;
    const long y = button.y + std::stol(Eval(L"document.getElementById('btn').offsetHeight")) / 2;
    const Picture picture = Snapshot();
    EXPECT_FALSE(Near(picture.At(x - 20, y - 5), RGB(255, 255, 255), 0)) << "the button is painted there";
    SendMessageA(Rendering(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(Rendering(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    EXPECT_EQ(Eval(L"window.clicked"), L"1");
}

TEST_F(PageRenderingTest, SheetsScrollBarsScrollingAndZoom) {
    LoadMarkup(LR"(<html><head><style>.mark { background: #00ff00 } div { background: #ff0000 }</style></head>
        <body style="margin:0"><div id=mark class=mark style="position:absolute; top:300px; left:0; width:100px; height:10px"></div>
        <div id=zoomed style="position:absolute; top:0; left:200px; width:100px; height:10px; background:#0000ff"></div>
        <div style="position:absolute; top:400px; left:0"><span id=s>x</span><p id=p>y</p></div>
        <div style="height:2000px; background:#ffffff"></div></body></html>)");
    // A class rule beats a tag rule; computed display of inline and block elements.
    Picture picture = Snapshot();
    EXPECT_EQ(FindColor(picture, RGB(0, 255, 0)).y, 300);
    EXPECT_EQ(Eval(L"document.getElementById('s').currentStyle.display"), L"inline");
    EXPECT_EQ(Eval(L"document.getElementById('p').currentStyle.display"), L"block");
    EXPECT_EQ(Eval(L"document.getElementById('mark').currentStyle.backgroundColor"), L"#00ff00");
    EXPECT_EQ(Eval(L"document.styleSheets.length"), L"1");
    EXPECT_EQ(Eval(L"document.body.scrollHeight"), L"2000");

    // Writing scrollTop moves the painted content by as much.
    Eval(L"document.documentElement.scrollTop=200");
    picture = Snapshot();
    EXPECT_EQ(FindColor(picture, RGB(0, 255, 0)).y, 100);
    SCROLLINFO info{sizeof info, SIF_POS};
    EXPECT_TRUE(GetScrollInfo(Rendering(), SB_VERT, &info));
    EXPECT_EQ(info.nPos, 200);
    // The wheel scrolls the view too.
    SendMessageA(Rendering(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_GT(std::stol(Eval(L"document.documentElement.scrollTop")), 200);
    Eval(L"window.scrollTo(0, 0)");

    // Zoom scales painting and geometry alike.
    Eval(L"document.body.style.zoom=1.5");
    picture = Snapshot();
    const POINT blue = FindColor(picture, RGB(0, 0, 255));
    long width = 0;
    while (Near(picture.At(blue.x + width, blue.y), RGB(0, 0, 255), 0)) ++width;
    EXPECT_EQ(width, 150);
    EXPECT_EQ(blue.x, 300);
    EXPECT_EQ(Eval(L"document.getElementById('zoomed').offsetWidth"), L"150");
    Eval(L"document.body.style.zoom='100%'");
    EXPECT_EQ(Eval(L"document.getElementById('zoomed').offsetWidth"), L"100");

    // A sheet made by script takes the scroll bars away.
    Snapshot();
    EXPECT_NE(GetWindowLongA(Rendering(), GWL_STYLE) & WS_VSCROLL, 0);
    Eval(L"document.createStyleSheet().addRule('body', 'overflow:hidden')");
    Snapshot();
    EXPECT_EQ(GetWindowLongA(Rendering(), GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(Eval(L"document.styleSheets.length"), L"2");
}

TEST_F(PageRenderingTest, BoxesThatScrollTheirContentPaintClipAndHitTestScrolled) {
    LoadMarkup(LR"(<html><body style="margin:0">
        <div id=box style="position:absolute; left:10px; top:10px; width:200px; height:100px; overflow:auto; background:#ffffff">
          <div id=a style="height:80px; background:#ff0000"></div><div id=b style="height:80px; background:#00ff00"></div>
          <div id=c style="height:80px; background:#0000ff"></div></div>
        <div id=fits style="position:absolute; left:300px; top:10px; width:100px; height:100px; overflow:auto"><span>x</span></div>
        <div id=always style="position:absolute; left:300px; top:150px; width:100px; height:60px; overflow:scroll"><span>x</span></div>
        </body></html>)");
    const long bar = GetSystemMetrics(SM_CXVSCROLL), barHeight = GetSystemMetrics(SM_CYHSCROLL);
    const std::wstring box = L"document.getElementById('box').";
    // The content is laid out beside the vertical bar; a box whose content
    // fits has none, overflow:scroll has both always.
    EXPECT_EQ(Eval(box + L"clientWidth"), std::to_wstring(200 - bar));
    EXPECT_EQ(Eval(box + L"clientHeight"), L"100");
    EXPECT_EQ(Eval(box + L"scrollHeight"), L"240");
    EXPECT_EQ(Eval(L"document.getElementById('a').offsetWidth"), std::to_wstring(200 - bar));
    EXPECT_EQ(Eval(L"document.getElementById('fits').clientWidth"), L"100");
    EXPECT_EQ(Eval(L"document.getElementById('always').clientWidth"), std::to_wstring(100 - bar));
    EXPECT_EQ(Eval(L"document.getElementById('always').clientHeight"), std::to_wstring(60 - barHeight));

    Picture picture = Snapshot();
    EXPECT_TRUE(Near(picture.At(20, 20), RGB(255, 0, 0)));
    EXPECT_EQ(FindColor(picture, RGB(0, 255, 0)).y, 90);
    EXPECT_EQ(FindColor(picture, RGB(0, 0, 255)).y, -1);   // below the box: clipped away
    EXPECT_FALSE(Near(picture.At(210 - bar / 2, 60), RGB(255, 0, 0)));   // the bar, not the content under it
    EXPECT_TRUE(Near(picture.At(210 - 4, 10 + 4), GetSysColor(COLOR_BTNFACE)));   // its arrow button
    EXPECT_TRUE(Near(picture.At(400 - 4, 150 + 4), GetSysColor(COLOR_BTNFACE)));
    EXPECT_TRUE(Near(picture.At(400 - 4, 60), RGB(255, 255, 255)));   // nothing to scroll: no bar

    // Scrolling is kept within what the content allows, moves the painted
    // content and what a point hits.
    Eval(box + L"scrollTop=500");
    EXPECT_EQ(Eval(box + L"scrollTop"), L"140");
    Eval(box + L"scrollTop=80");
    EXPECT_EQ(Eval(box + L"scrollTop"), L"80");
    picture = Snapshot();
    EXPECT_TRUE(Near(picture.At(20, 20), RGB(0, 255, 0)));
    EXPECT_EQ(FindColor(picture, RGB(255, 0, 0)).y, -1);   // scrolled out above the box
    EXPECT_EQ(FindColor(picture, RGB(0, 0, 255)).y, 90);
    EXPECT_EQ(Eval(L"document.elementFromPoint(20, 20).id"), L"b");
    EXPECT_EQ(Eval(L"document.elementFromPoint(20, 100).id"), L"c");
    EXPECT_EQ(Eval(L"document.elementFromPoint(20, 5).tagName"), L"BODY");
    EXPECT_EQ(Eval(L"document.elementFromPoint(" + std::to_wstring(210 - bar / 2) + L", 60).id"), L"box");
    EXPECT_EQ(Eval(L"document.getElementById('b').getBoundingClientRect().top"), L"10");
}

TEST_F(PageRenderingTest, ImagesComeWithThePagesCookieAndPaintWhereTheLayoutSays) {
    const std::string jpeg = Encode(L"{557CF401-1A04-11D3-9A73-0000F81EF32E}", 30, 20, 255, 0, 0, 255);
    const std::string png = Encode(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", 24, 16, 128, 255, 0, 0);
    const std::string gif = Gif(10, 12, {RGB(0, 255, 0)}, std::vector<BYTE>(10 * 12, 0), -1);
    // Top half magenta, bottom half the transparent index (black in the palette).
    std::vector<BYTE> halves(16 * 16, 0);
    std::fill(halves.begin(), halves.begin() + 16 * 8, BYTE{1});
    const std::string clear = Gif(16, 16, {RGB(0, 0, 0), RGB(255, 0, 255)}, halves, 0);
    std::atomic<int> refused{0};
    auto image = [&refused](std::string bytes, const char* type) {
        return [&refused, bytes, type](const httplib::Request& request, httplib::Response& response) {
            if (request.get_header_value("Cookie").find("pass=yes") == std::string::npos) {
                ++refused;
                response.status = 403;
                return;
            }
            response.set_content(bytes, type);
        };
    };
    server_.server().Get("/img/page", [this](const httplib::Request&, httplib::Response& response) {
        response.set_header("Set-Cookie", "pass=yes; path=/img");
        response.set_content(std::string("<html><head>") + PositionScriptBytes() +
                                 "</head><body style='margin:0'><img id=j src=a.jpg><img id=p src=a.png><img id=g src=a.gif>"
                                 "<div style='background:#ffff00'><img id=t src=t.gif></div>"
                                 "<img id=m src=missing.png alt=gone><img id=sized src=a.jpg width=60>"
                                 "<img id=late onload='window.loaded=1' onerror='window.failed=1' src=missing2.png></body></html>",
                             "text/html");
    });
    server_.server().Get("/img/a.jpg", image(jpeg, "image/jpeg"));
    server_.server().Get("/img/a.png", image(png, "image/png"));
    server_.server().Get("/img/a.gif", image(gif, "image/gif"));
    server_.server().Get("/img/t.gif", image(clear, "image/gif"));
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/img/page"));
    EXPECT_EQ(refused.load(), 0);
    EXPECT_EQ(Eval(L"document.getElementById('j').width + 'x' + document.getElementById('j').height"), L"30x20");
    EXPECT_EQ(Eval(L"document.getElementById('p').width + 'x' + document.getElementById('p').height"), L"24x16");
    EXPECT_EQ(Eval(L"document.getElementById('g').width + 'x' + document.getElementById('g').height"), L"10x12");
    EXPECT_EQ(Eval(L"document.getElementById('g').complete"), L"-1");
    EXPECT_EQ(Eval(L"document.getElementById('sized').height"), L"40");
    EXPECT_EQ(Eval(L"document.getElementById('j').complete"), L"-1");
    EXPECT_EQ(Eval(L"document.getElementById('m').complete"), L"0");
    EXPECT_EQ(Eval(L"window.failed"), L"1");
    EXPECT_GT(std::stol(Eval(L"document.getElementById('m').offsetWidth")), 20);

    const Picture picture = Snapshot();
    auto centre = [&](const wchar_t* id) {
        const POINT p = Position(id);
        const std::wstring e = L"document.getElementById('" + std::wstring(id) + L"')";
        return POINT{p.x + std::stol(Eval(e + L".width")) / 2, p.y + std::stol(Eval(e + L".height")) / 2};
    };
    EXPECT_TRUE(Near(picture.At(centre(L"j").x, centre(L"j").y), RGB(0, 0, 255), 12));
    EXPECT_TRUE(Near(picture.At(centre(L"p").x, centre(L"p").y), RGB(255, 127, 127), 8));   // half red over white
    EXPECT_TRUE(Near(picture.At(centre(L"g").x, centre(L"g").y), RGB(0, 255, 0), 0));
    // The transparent index shows the background behind the image.
    const POINT t = Position(L"t");
    EXPECT_EQ(Eval(L"document.getElementById('t').width"), L"16");
    EXPECT_TRUE(Near(picture.At(t.x + 8, t.y + 4), RGB(255, 0, 255), 0));
    EXPECT_TRUE(Near(picture.At(t.x + 8, t.y + 12), RGB(255, 255, 0), 0));
    const POINT missing = Position(L"m");
    EXPECT_FALSE(Near(picture.At(missing.x, missing.y), RGB(255, 255, 255), 0)) << "a frame marks the missing image";

    // Reloading the page leaves no GDI objects behind.
    Load(Url("/img/page"));
    const DWORD before = corvalin::testing::GdiObjectCount();
    for (int i = 0; i < 100; ++i) {
        box_->Navigate(Url("/img/page"));
        ASSERT_TRUE(box_->WaitForLoad());
        Snapshot();
    }
    EXPECT_LE(corvalin::testing::GdiObjectCount(), before + 4);
}

TEST_F(PageRenderingTest, LinksToPagesTheBoxShowedAreVisitedAndNoLongerLinks) {
    Serve("/v/one", "<html><body>one</body></html>");
    // :visited comes first, so a :link rule that matched visited links would win.
    Serve("/v/links", "<html><head>" + PositionScriptBytes() +
                      "<style>a { display:block; width:40px; height:20px }"
                      "a:visited { background:#ff0000 } a:link { background:#00ff00 }</style></head><body style='margin:0'>"
                      "<a id=seen href=one></a><a id=part href='one#part'></a><a id=fresh href=two></a>"
                      "<a id=away href='http://127.0.0.1:1/one'></a></body></html>");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/v/one"));
    Load(Url("/v/links"));
    const Picture picture = Snapshot();
    const struct {
        const wchar_t* id;
        COLORREF color;
    } cases[] = {{L"seen", RGB(255, 0, 0)}, {L"part", RGB(255, 0, 0)}, {L"fresh", RGB(0, 255, 0)}, {L"away", RGB(0, 255, 0)}};
    for (const auto& c : cases) {
        const POINT p = Position(c.id);
        EXPECT_TRUE(Near(picture.At(p.x + 20, p.y + 10), c.color, 0)) << c.id;
        EXPECT_EQ(Eval(L"document.getElementById('" + std::wstring(c.id) + L"').currentStyle.backgroundColor"),
                  c.color == RGB(255, 0, 0) ? L"#ff0000" : L"#00ff00") << c.id;
    }
}

TEST_F(PageRenderingTest, HoverRulesFollowTheMouseOverTheElementAndItsAncestors) {
    LoadMarkup(std::wstring(L"<html><head>") + kPositionScript + LR"(<style>
        .h { display:block; width:80px; height:30px; background:#00ff00 } .h:hover { background:#0000ff }
        .o:hover { background:#ffff00 }</style></head>
        <body style="margin:0"><div id=outer class=o style="padding:20px"><a id=link class=h href="#x"></a></div></body></html>)");
    SetForegroundWindow(parent_);
    const POINT link = Position(L"link"), outer = Position(L"outer");
    auto moveTo = [this](long x, long y) {
        POINT at{x, y};
        ClientToScreen(Rendering(), &at);
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
    };
    // True once the link and the padding of its parent show these colours.
    auto shows = [&](COLORREF linkColor, COLORREF outerColor) {
        return corvalin::testing::PumpUntil([&] {
            const Picture picture = Snapshot();
            return Near(picture.At(link.x + 40, link.y + 15), linkColor, 0) && Near(picture.At(outer.x + 5, outer.y + 5), outerColor, 0);
        });
    };
    const COLORREF green = RGB(0, 255, 0), blue = RGB(0, 0, 255), yellow = RGB(255, 255, 0), white = RGB(255, 255, 255);
    ASSERT_TRUE(shows(green, white));
    moveTo(link.x + 40, link.y + 15);
    EXPECT_TRUE(shows(blue, yellow)) << "the link and its ancestors are hovered";
    moveTo(300, 300);
    EXPECT_TRUE(shows(green, white)) << "the body alone is hovered";
    moveTo(outer.x + 5, outer.y + 5);
    EXPECT_TRUE(shows(green, yellow)) << "the parent is hovered, its child is not";
    moveTo(link.x + 10, link.y + 10);
    EXPECT_TRUE(shows(blue, yellow));
    // Out of the view: nothing is hovered.
    RECT client;
    GetClientRect(Rendering(), &client);
    moveTo(client.right + 20, client.bottom + 20);
    EXPECT_TRUE(shows(green, white)) << "the mouse left the view";
}

TEST_F(PageRenderingTest, SheetAddressesResolveAgainstTheSheetAndDocumentAddressesAgainstThePage) {
    const wchar_t* png = L"{557CF406-1A04-11D3-9A73-0000F81EF32E}";
    Serve("/site/css/pics/tile.png", Encode(png, 8, 8, 255, 0, 0, 255), "image/png");   // blue, beside the sheet
    Serve("/site/pics/tile.png", Encode(png, 8, 8, 255, 255, 0, 0), "image/png");       // red, beside the page
    Serve("/site/css/site.css", "#linked { background-image: url(pics/tile.png) }", "text/css");
    Serve("/site/page", std::string("<html><head>") + PositionScriptBytes() +
                            "<link rel=stylesheet href='css/site.css'>"
                            "<style>div { width:40px; height:30px } #styled { background-image: url(pics/tile.png) }</style>"
                            "</head><body style='margin:0'><div id=linked></div><div id=styled></div>"
                            "<div id=inline style='background-image: url(pics/tile.png)'></div></body></html>");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/site/page"));
    const struct {
        const wchar_t* id;
        COLORREF color;
    } cases[] = {{L"linked", RGB(0, 0, 255)}, {L"styled", RGB(255, 0, 0)}, {L"inline", RGB(255, 0, 0)}};
    EXPECT_TRUE(corvalin::testing::PumpUntil([&] {
        const Picture picture = Snapshot();
        for (const auto& c : cases) {
            const POINT p = Position(c.id);
            if (!Near(picture.At(p.x + 20, p.y + 15), c.color, 0)) return false;
        }
        return true;
    })) << "each tile comes from the folder its rule was written in";
    const Picture picture = Snapshot();
    for (const auto& c : cases) {
        const POINT p = Position(c.id);
        EXPECT_TRUE(Near(picture.At(p.x + 20, p.y + 15), c.color, 0)) << c.id;
    }
}

}  // namespace
}  // namespace corvalin::browser::testing
