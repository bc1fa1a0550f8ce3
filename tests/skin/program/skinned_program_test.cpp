// Both windows of the running program, skinned: what the screen shows, read
// back while the real corvalin.exe runs against the real local hang service.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "base/unique.h"
#include "client/client_flow_fixture.h"
#include "shell/form_ids.h"
#include "support/gui_objects.h"

namespace corvalin::testing {
namespace {

constexpr COLORREF kAccent = 0x00DDCA22;
constexpr char kDialogTitle[] = "友情提示：";

COLORREF PixelAt(const DecodedPicture& picture, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * picture.width + x) * 3;
    return RGB(picture.rgb[i], picture.rgb[i + 1], picture.rgb[i + 2]);
}

int Distance(COLORREF a, COLORREF b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

COLORREF Veiled(COLORREF background, int alpha) {
    auto blend = [alpha](int c) { return c + ((255 - c) * alpha + 127) / 255; };
    return RGB(blend(GetRValue(background)), blend(GetGValue(background)), blend(GetBValue(background)));
}

DecodedPicture CaptureWhole(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return CaptureClient(window, client.right, client.bottom);
}

// What lies under a control: the control hidden, the window repainted from its skin.
DecodedPicture CaptureWithout(HWND control, int width, int height) {
    ShowWindow(control, SW_HIDE);
    WaitUntil([] { return false; }, 300);
    DecodedPicture under = CaptureClient(control, width, height);
    ShowWindow(control, SW_SHOWNA);
    WaitUntil([] { return false; }, 300);
    return under;
}

HWND OpenDialog(CorvalinRun& run) {
    Click(run.AccountBox());
    PressKey(VK_ESCAPE);
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = run.FindOwnWindow(kDialogTitle)) != nullptr; }, 3000);
    WaitUntil([] { return false; }, 300);
    return dialog;
}

bool CloseDialog(CorvalinRun& run) {
    PressKey('N');
    return WaitUntil([&] { return run.FindOwnWindow(kDialogTitle) == nullptr; }, 3000);
}

class SkinnedProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(run.started()) << run.failure();
        ASSERT_FALSE(WaitForPageSession(run).empty());
        WaitUntil([] { return false; }, 500);
    }
    CorvalinRun run;
};

TEST_F(SkinnedProgramTest, EditBoxesShowTheSkinThroughTheWhiteVeil) {
    HWND box = run.PasswordBox();
    RECT client{};
    GetClientRect(box, &client);
    const DecodedPicture shown = CaptureClient(box, client.right, client.bottom);
    const DecodedPicture under = CaptureWithout(box, client.right, client.bottom);
    int checked = 0, veiled = 0;
    // The edit's own 1-pixel border and its caret stay out of the count.
    for (int y = 3; y < client.bottom - 3; ++y)
        for (int x = 3; x < client.right - 3; ++x, ++checked)
            if (Distance(PixelAt(shown, x, y), Veiled(PixelAt(under, x, y), 75)) <= 4) ++veiled;
    EXPECT_GT(veiled, checked * 97 / 100) << veiled << " of " << checked;
    // And the skin under it is the picture, not a plain white box.
    EXPECT_LT(GetRValue(PixelAt(under, client.right / 2, client.bottom / 2)), 200);
}

// Under Wine the account box (a WS_BORDER edit) draws its border line inside
// its client area; the skin's frame covers it: black at alpha 80 over the
// veiled skin, and two pixels of the accent at alpha 180 under the mouse.
TEST_F(SkinnedProgramTest, AccountBoxShowsTheSkinFrameAndTheAccentUnderTheMouse) {
    HWND box = run.AccountBox();
    HWND form = GetParent(box);
    RECT frame{}, formClient{};
    GetWindowRect(box, &frame);
    GetClientRect(form, &formClient);
    POINT origin{0, 0};
    ClientToScreen(form, &origin);
    const int midX = (frame.left + frame.right) / 2 - origin.x, top = frame.top - origin.y;
    auto shot = [&] { return CaptureClient(form, formClient.right, formClient.bottom); };
    Click(run.PasswordBox());   // the focus elsewhere: the account box shows its plain frame
    // The skin under the box: the box hidden, the form repainted before the call returns.
    ShowWindow(box, SW_HIDE);
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const DecodedPicture under = shot();
    ShowWindow(box, SW_SHOWNA);
    auto blend = [](COLORREF over, int alpha, COLORREF colour) {
        auto mix = [alpha](int o, int c) { return (c * alpha + o * (255 - alpha) + 127) / 255; };
        return RGB(mix(GetRValue(over), GetRValue(colour)), mix(GetGValue(over), GetGValue(colour)),
                   mix(GetBValue(over), GetBValue(colour)));
    };
    auto veiledAt = [&](int y) { return Veiled(PixelAt(under, midX, y), 75); };
    const COLORREF plain = blend(veiledAt(top), 80, RGB(0, 0, 0));
    COLORREF seen = 0;
    EXPECT_TRUE(WaitUntil([&] { return Distance(seen = PixelAt(shot(), midX, top), plain) <= 6; }, 3000))
        << std::hex << "frame line " << seen << ", expected " << plain;

    // The mouse over the box, through the input queue.
    POINT inside{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    SetCursorPos(inside.x - 10, inside.y);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = 10;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof move);
    const COLORREF hot = blend(veiledAt(top + 1), 180, kAccent);
    EXPECT_TRUE(WaitUntil([&] { return Distance(seen = PixelAt(shot(), midX, top + 1), hot) <= 6; }, 3000))
        << std::hex << "hot frame " << seen << ", expected " << hot;

    SetCursorPos(5, 5);
    SendInput(1, &move, sizeof move);
    EXPECT_TRUE(WaitUntil([&] { return Distance(seen = PixelAt(shot(), midX, top), plain) <= 6; }, 3000))
        << std::hex << "the accent leaves with the mouse: " << seen;
}

TEST_F(SkinnedProgramTest, ButtonFacesFollowTheHotAndPressedLooks) {
    HWND button = run.Button("我要下线");
    RECT client{};
    GetClientRect(button, &client);
    auto capture = [&] { return CaptureClient(button, client.right, client.bottom); };
    const int midY = client.bottom / 2;
    const DecodedPicture normal = capture();
    EXPECT_GT(Distance(PixelAt(normal, 0, midY), kAccent), 40);

    POINT centre{client.right / 2, midY};
    ClientToScreen(button, &centre);
    SetCursorPos(centre.x - 10, centre.y);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = 10;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof move);
    EXPECT_TRUE(WaitUntil([&] { return Distance(PixelAt(capture(), 0, midY), kAccent) <= 3; }, 2000))
        << "hot: the outline takes the accent colour";

    INPUT press{};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &press, sizeof press);
    const int lowY = client.bottom - 5;
    EXPECT_TRUE(WaitUntil([&] {
        return GetRValue(PixelAt(capture(), client.right / 2, lowY)) >
               GetRValue(PixelAt(normal, client.right / 2, lowY)) + 15;
    }, 2000)) << "pressed: the inner gradient brightens the lower face";
    press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &press, sizeof press);

    SetCursorPos(5, 5);
    SendInput(1, &move, sizeof move);
    EXPECT_TRUE(WaitUntil([&] { return Distance(PixelAt(capture(), 0, midY), kAccent) > 40; }, 3000))
        << "the hot look leaves with the mouse";
}

TEST_F(SkinnedProgramTest, TransparentLabelsDrawTheirTextOverThePicture) {
    HWND main = run.mainWindow();
    HWND label = FindDescendant(main, "Corvalin.TransparentLabel", "QQ帐号：");
    ASSERT_NE(label, nullptr);
    RECT client{};
    GetClientRect(label, &client);
    const DecodedPicture shown = CaptureClient(label, client.right, client.bottom);
    const DecodedPicture under = CaptureWithout(label, client.right, client.bottom);
    int text = 0, stray = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) {
            const COLORREF s = PixelAt(shown, x, y);
            if (Distance(s, PixelAt(under, x, y)) <= 3) continue;
            // Whatever differs from the picture is the label's cyan text.
            if (GetRValue(s) < GetGValue(s) && GetRValue(s) < GetBValue(s)) ++text;
            else ++stray;
        }
    EXPECT_GT(text, 20);
    EXPECT_LE(stray, text / 10);
}

TEST_F(SkinnedProgramTest, CaptionShowsIconTitleAndOnlyTheMinimiseAndCloseButtons) {
    HWND main = run.mainWindow();
    const DecodedPicture whole = CaptureWhole(main);
    ASSERT_EQ(whole.width, 377);
    auto countWhite = [&](int left, int top, int right, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                const COLORREF c = PixelAt(whole, x, y);
                if (GetRValue(c) > 235 && GetGValue(c) > 235 && GetBValue(c) > 235) ++n;
            }
        return n;
    };
    // Title "Corvalin" in white at (29, 8), after the place of the 17 x 17 icon at (9, 5).
    EXPECT_GT(countWhite(29, 6, 120, 24), 25);
    EXPECT_LT(countWhite(130, 6, 260, 24), 3) << "nothing but the title in the caption's middle";
    // Caption strip: minimise (26) and close (38) from x = 377 - 3 - 68 - 2 = 304.
    EXPECT_GT(countWhite(306, 1, 330, 19), 5) << "the minimise bar";
    EXPECT_GT(countWhite(334, 1, 370, 19), 10) << "the close cross";
    EXPECT_LT(countWhite(270, 1, 302, 19), 2) << "no maximise, help or menu button";
    char title[32] = {};
    GetWindowTextA(main, title, sizeof title);
    EXPECT_STREQ(title, "Corvalin");
}

TEST_F(SkinnedProgramTest, SecondOpeningOfTheDialogKeepsTheMainWindowSkinned) {
    HWND main = run.mainWindow();
    const DecodedPicture before = CaptureClient(main, 377, 150);
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        HWND dialog = OpenDialog(run);
        ASSERT_NE(dialog, nullptr);
        // The dialog itself is skinned: its caption carries its title in white.
        const DecodedPicture skinned = CaptureWhole(dialog);
        int white = 0;
        for (int y = 6; y < 24; ++y)
            for (int x = 29; x < 110; ++x)
                if (GetRValue(PixelAt(skinned, x, y)) > 235 && GetBValue(PixelAt(skinned, x, y)) > 235) ++white;
        EXPECT_GT(white, 15);
        ASSERT_TRUE(CloseDialog(run));
        WaitUntil([] { return false; }, 300);
        EXPECT_LT(MeanDifference(CaptureClient(main, 377, 150), before), 4.0);
    }
}

TEST_F(SkinnedProgramTest, CaptchaPictureBoxIsCompositedOverTheSkin) {
    ASSERT_TRUE(SubmitUntilCaptcha(run, "12345678", "secret"));
    HWND picture = run.CaptchaPicture();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(picture) != FALSE; }, 3000));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(picture, "Kj_lbID")), 1);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(picture, "Kj_FuID")), 1);
    const std::string session = SessionValue(run, "id");
    // The box is shown before its picture is downloaded; the service has a picture once asked for one.
    ASSERT_TRUE(WaitUntil([&] { return SessionValue(run, "captchaRequests") == "1"; }, 3000));
    const auto drawn = DecodeJpeg(run.service().CaptchaPicture(session));
    ASSERT_TRUE(drawn.has_value());
    double difference = 255;
    WaitUntil([&] {
        difference = MeanDifference(CaptureClient(picture, drawn->width, drawn->height), *drawn);
        return difference < 10;
    }, 3000);
    EXPECT_LT(difference, 10.0);
}

// The captcha layout grows the window; the skin's rounded region grows with
// it, or the buttons and the status line below the old bottom are cut off.
TEST_F(SkinnedProgramTest, CaptchaLayoutGrowsTheSkinsRegionWithTheWindow) {
    ASSERT_TRUE(SubmitUntilCaptcha(run, "12345678", "secret"));
    HWND main = run.mainWindow();
    auto regionBottom = [&] {
        UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
        RECT box{};
        if (GetWindowRgn(main, region.get()) != ERROR) GetRgnBox(region.get(), &box);
        return box.bottom;
    };
    LONG bottom = 0;
    EXPECT_TRUE(WaitUntil([&] { return (bottom = regionBottom()) >= WindowHeight(main); }, 3000))
        << "region ends at " << bottom << " of " << WindowHeight(main);
}

// What the skin and the runtime keep for the whole run (fonts, cached glyphs,
// the first attach) may fill during the first openings and polls; a leak grows
// with their number. So the bound is a constant, checked after many more.
constexpr DWORD kGdiSlack = 4;

std::string GdiTypes(HANDLE process) {
    std::string text;
    for (const auto& [type, count] : GdiObjectsByType(process))
        text += " type " + std::to_string(type) + ": " + std::to_string(count);
    return text;
}

TEST_F(SkinnedProgramTest, GuiObjectsStayFlatAcrossDialogOpenings) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                     GetProcessId(run.process().handle())));
    ASSERT_TRUE(process);
    ASSERT_GT(GdiObjectCount(process.get()), 0u);
    for (int i = 0; i < 5; ++i) {
        ASSERT_NE(OpenDialog(run), nullptr) << i;
        ASSERT_TRUE(CloseDialog(run)) << i;
    }
    const DWORD gdi = GdiObjectCount(process.get());
    const DWORD user = UserObjectCount(process.get());
    const std::string before = GdiTypes(process.get());
    for (int i = 0; i < 50; ++i) {
        ASSERT_NE(OpenDialog(run), nullptr) << i;
        ASSERT_TRUE(CloseDialog(run)) << i;
    }
    EXPECT_LE(GdiObjectCount(process.get()), gdi + kGdiSlack) << "before:" << before << "\nafter:" << GdiTypes(process.get());
    EXPECT_EQ(UserObjectCount(process.get()), user);
}

TEST_F(SkinnedProgramTest, GuiObjectsStayFlatAcrossStatusPolls) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                     GetProcessId(run.process().handle())));
    ASSERT_TRUE(process);
    // A sent WM_TIMER runs the poll's handler, as the program's own timer does.
    auto poll = [&](int times) {
        for (int i = 0; i < times; ++i) SendMessageA(run.mainWindow(), WM_TIMER, shell::kStatusPollTimerId, 0);
    };
    poll(20);
    const DWORD gdi = GdiObjectCount(process.get());
    const DWORD user = UserObjectCount(process.get());
    const std::string before = GdiTypes(process.get());
    poll(1000);
    EXPECT_LE(GdiObjectCount(process.get()), gdi + kGdiSlack) << "before:" << before << "\nafter:" << GdiTypes(process.get());
    EXPECT_EQ(UserObjectCount(process.get()), user);
    EXPECT_EQ(TextOf(run.StatusLine()).rfind("状态：", 0), 0u);
}

struct MainWindowSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<MainWindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != s->process || !IsWindowVisible(window) || TextOf(window) != "Corvalin") return TRUE;
    s->found = window;
    return FALSE;
}

// The program's main window, once it is visible.
HWND ShownMainWindow(DWORD process) {
    MainWindowSearch search{process, nullptr};
    EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The main window is shown only when its skin is in place, so the first look
// anyone gets of it is the skinned one.
TEST(SkinnedProgramStartTest, FirstScreenshotOfTheMainWindowIsAlreadySkinned) {
    ChildProcess program;
    TempFolder folder;
    ASSERT_TRUE(program.Start("\"" + ProgramFolder() + "\\corvalin-e2e.exe\"", folder.File("corvalin.log")));
    HWND main = nullptr;
    // Looked for as often as the machine lets us: the first moment it shows counts.
    const ULONGLONG end = GetTickCount64() + 20000;
    while (!(main = ShownMainWindow(program.id())) && program.Running() && GetTickCount64() < end) Sleep(1);
    ASSERT_NE(main, nullptr);
    const bool skinnedWhenShown = GetPropA(main, "Hw_lbID") != nullptr;
    const DecodedPicture first = CaptureClient(main, 377, 25);
    EXPECT_TRUE(skinnedWhenShown);
    // The caption as it settles: two looks in a row alike.
    DecodedPicture settled = CaptureClient(main, 377, 25);
    WaitUntil([&] {
        const DecodedPicture next = CaptureClient(main, 377, 25);
        const bool steady = MeanDifference(next, settled) < 0.5;
        settled = next;
        return steady;
    }, 5000);
    EXPECT_LT(MeanDifference(first, settled), 3.0) << "the caption changed after the window was first shown";
    const DWORD id = program.id();
    program.Terminate();
    EndLeftoversOf(id);
}

}  // namespace
}  // namespace corvalin::testing
