#include "shell_test_fixture.h"

#include <optional>

#include "support/message_pump.h"
#include "support/temp_folder.h"

namespace corvalin::shell::testing {
namespace {

using corvalin::testing::PumpMessagesFor;
using corvalin::testing::PumpUntil;

using ControlPropertiesTest = ShellTest;

RECT RectInParent(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(ControlPropertiesTest, PositionAndSizeApplyToTheLiveControl) {
    LoadMain();
    HWND button = Handle(kMainWindowId, kStartButtonId);
    SetControlProperty(kMainWindowId, kStartButtonId, kPropLeft, 31);
    SetControlProperty(kMainWindowId, kStartButtonId, kPropTop, 197);
    SetControlProperty(kMainWindowId, kStartButtonId, kPropWidth, 90);
    const RECT r = RectInParent(button);
    EXPECT_EQ(r.left, 31);
    EXPECT_EQ(r.top, 197);
    EXPECT_EQ(r.right - r.left, 90);
    EXPECT_EQ(r.bottom - r.top, 32);
    EXPECT_EQ(GetControlProperty(kMainWindowId, kStartButtonId, kPropTop).AsInteger(), 197);
    EXPECT_EQ(GetControlProperty(kMainWindowId, kStartButtonId, kPropWidth).AsInteger(), 90);
}

// Counts the position changes and paints a window is sent.
struct CountedMessages {
    HWND window;
    WNDPROC previous;
    int positions = 0;
    int paints = 0;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* counted = static_cast<CountedMessages*>(GetPropA(window, "CountedMessages"));
        if (message == WM_WINDOWPOSCHANGING) ++counted->positions;
        if (message == WM_PAINT) ++counted->paints;
        return CallWindowProcA(counted->previous, window, message, wParam, lParam);
    }
    explicit CountedMessages(HWND w) : window(w) {
        SetPropA(window, "CountedMessages", this);
        previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    ~CountedMessages() {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(window, "CountedMessages");
    }
};

TEST_F(ControlPropertiesTest, RewritingThePlaceOrVisibilityAControlHasSendsItNothing) {
    LoadMain();
    HWND main = Handle(kMainWindowId, kMainWindowUnitId);
    for (ControlId control : {kStartButtonId, kMainWindowUnitId, kStatusLabelId}) {
        PumpMessagesFor(50);   // the paints the last move brought
        HWND window = Handle(kMainWindowId, control);
        CountedMessages counted(window);
        std::optional<CountedMessages> parent;
        if (window != main) parent.emplace(main);
        for (PropertyIndex index : {kPropLeft, kPropTop, kPropWidth, kPropHeight, kPropVisible, kPropDisabled}) {
            const int current = GetControlProperty(kMainWindowId, control, index).AsInteger();
            SetControlProperty(kMainWindowId, control, index, current);
            PumpMessagesFor(10);
            EXPECT_EQ(counted.positions, 0) << "control " << static_cast<int>(control) << ", property " << index;
            EXPECT_EQ(counted.paints, 0) << "control " << static_cast<int>(control) << ", property " << index;
            // A transparent label repainted the window under it on every write.
            if (parent) {
                EXPECT_EQ(parent->paints, 0) << "control " << control << ", property " << index;
            }
        }
        if (control == kStatusLabelId) {
            const std::string caption = GetControlProperty(kMainWindowId, control, kPropCaption).AsText();
            SetControlProperty(kMainWindowId, control, kPropCaption, caption);
            PumpMessagesFor(10);
            EXPECT_EQ(counted.paints + parent->paints, 0) << "the same caption again";
        }
        // A real change still reaches the window.
        const int top = GetControlProperty(kMainWindowId, control, kPropTop).AsInteger();
        SetControlProperty(kMainWindowId, control, kPropTop, top + 3);
        EXPECT_GT(counted.positions, 0) << control;
        EXPECT_EQ(GetControlProperty(kMainWindowId, control, kPropTop).AsInteger(), top + 3);
    }
    // Hidden by the window itself, the stored state says visible: writing 1 shows it again.
    HWND button = Handle(kMainWindowId, kStartButtonId);
    ShowWindow(button, SW_HIDE);
    SetControlProperty(kMainWindowId, kStartButtonId, kPropVisible, 1);
    EXPECT_TRUE(IsWindowVisible(button));
}

TEST_F(ControlPropertiesTest, SizesAboveTheLimitAreStoredAsTheLimit) {
    LoadMain();
    struct Case { ControlId control; PropertyIndex index; int written; int expected; };
    const Case cases[] = {
        {kStartButtonId, kPropHeight, 40000, 32627},
        {kStartButtonId, kPropWidth, 32628, 32627},
        {kStartButtonId, kPropHeight, 32627, 32627},
        {kStartButtonId, kPropHeight, 50, 50},
        {kStatusPollTimerId, kPropHeight, 40000, 32627},   // a control without a window keeps it too
        {kMainWindowUnitId, kPropHeight, 260, 260},
    };
    for (const Case& c : cases) {
        SetControlProperty(kMainWindowId, c.control, c.index, c.written);
        EXPECT_EQ(GetControlProperty(kMainWindowId, c.control, c.index).AsInteger(), c.expected) << c.written;
    }
    RECT r;
    GetWindowRect(Handle(kMainWindowId, kMainWindowUnitId), &r);
    EXPECT_EQ(r.bottom - r.top, 260);
}

TEST_F(ControlPropertiesTest, VisibilityTagTextAndCaptions) {
    LoadMain();
    HWND picture = Handle(kMainWindowId, kCaptchaPictureId);
    SetControlProperty(kMainWindowId, kCaptchaPictureId, kPropVisible, 0);
    EXPECT_FALSE(IsWindowVisible(picture));
    EXPECT_EQ(GetControlProperty(kMainWindowId, kCaptchaPictureId, kPropVisible).AsInteger(), 0);
    SetControlProperty(kMainWindowId, kCaptchaPictureId, kPropVisible, 1);
    EXPECT_TRUE(IsWindowVisible(picture));

    SetControlProperty(kMainWindowId, kStartButtonId, kPropDisabled, 1);
    EXPECT_FALSE(IsWindowEnabled(Handle(kMainWindowId, kStartButtonId)));
    EXPECT_EQ(GetControlProperty(kMainWindowId, kStartButtonId, kPropDisabled).AsInteger(), 1);

    SetControlProperty(kMainWindowId, kAccountEditId, kPropTag, "tagged");
    EXPECT_EQ(GetControlProperty(kMainWindowId, kAccountEditId, kPropTag).AsText(), "tagged");

    SetControlProperty(kMainWindowId, kPasswordEditId, kPropText, "secret");
    EXPECT_EQ(Text(Handle(kMainWindowId, kPasswordEditId)), "secret");
    EXPECT_EQ(GetControlProperty(kMainWindowId, kPasswordEditId, kPropText).AsText(), "secret");

    SetControlProperty(kMainWindowId, kStatusLabelId, kPropCaption, "状态：请输入验证码");
    EXPECT_EQ(GetControlProperty(kMainWindowId, kStatusLabelId, kPropCaption).AsText(), "状态：请输入验证码");
    EXPECT_EQ(Text(Handle(kMainWindowId, kStatusLabelId)), "状态：请输入验证码");

    SetControlProperty(kMainWindowId, kMainWindowUnitId, kPropCaption, "新标题");
    EXPECT_EQ(Text(Handle(kMainWindowId, kMainWindowUnitId)), "新标题");
    EXPECT_EQ(GetControlProperty(kMainWindowId, kMainWindowUnitId, kPropCaption).AsText(), "新标题");

    // Unknown controls read as nothing and ignore writes.
    SetControlProperty(kMainWindowId, 0x16019999, kPropLeft, 5);
    EXPECT_TRUE(GetControlProperty(kMainWindowId, 0x16019999, kPropLeft).IsEmpty());
}

// Label colour pixels in a rectangle of the parent's client area, read back from the screen.
int CountPixels(HWND parent, const RECT& area, COLORREF color) {
    WindowDc dc(parent);
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) count += GetPixel(dc.get(), x, y) == color;
    }
    return count;
}

TEST_F(ControlPropertiesTest, ATransparentLabelRepaintsTheParentUnderItOnEveryChange) {
    LoadMain();
    HWND main = Handle(kMainWindowId, kMainWindowUnitId);
    SetForegroundWindow(main);
    const COLORREF color = RGB(255, 128, 192);
    const RECT area = RectInParent(Handle(kMainWindowId, kStatusLabelId));
    SetControlProperty(kMainWindowId, kStatusLabelId, kPropCaption, "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    PumpMessagesFor(50);
    EXPECT_GT(CountPixels(main, area, color), 50);
    // The old text would stay where the label does not erase: the parent repaints first.
    SetControlProperty(kMainWindowId, kStatusLabelId, kPropCaption, "");
    EXPECT_EQ(CountPixels(main, area, color), 0);
    SetControlProperty(kMainWindowId, kStatusLabelId, kPropCaption, "WWWW");
    const RECT leftHalf{area.left, area.top, area.left + 60, area.bottom};
    const RECT rightPart{area.right - 60, area.top, area.right, area.bottom};
    EXPECT_GT(CountPixels(main, leftHalf, color), 10);
    EXPECT_EQ(CountPixels(main, rightPart, color), 0);
    SetControlProperty(kMainWindowId, kStatusLabelId, kPropAlignment, 2);
    EXPECT_EQ(CountPixels(main, leftHalf, color), 0);
    EXPECT_GT(CountPixels(main, rightPart, color), 10);
    SetControlProperty(kMainWindowId, kStatusLabelId, kPropTextColor, static_cast<int>(RGB(0, 0, 255)));
    EXPECT_EQ(CountPixels(main, rightPart, color), 0);
    EXPECT_GT(CountPixels(main, rightPart, RGB(0, 0, 255)), 10);
}

struct TickLog {
    std::vector<DWORD> ticks;
    void Attach(const char* handler) {
        RegisterEventHandler(handler, [this] { ticks.push_back(GetTickCount()); });
    }
};

TEST_F(ControlPropertiesTest, RewritingTheSameIntervalKeepsTheTimersPhase) {
    LoadMain();
    TickLog log;
    log.Attach("OnStatusPoll");
    const DWORD start = GetTickCount();
    SetControlProperty(kMainWindowId, kStatusPollTimerId, kPropInterval, 600);
    PumpMessagesFor(300);
    SetControlProperty(kMainWindowId, kStatusPollTimerId, kPropInterval, 600);
    ASSERT_TRUE(PumpUntil([&] { return !log.ticks.empty(); }, 3000));
    EXPECT_LT(log.ticks[0] - start, 850u) << "the period was restarted";
    EXPECT_EQ(GetControlProperty(kMainWindowId, kStatusPollTimerId, kPropInterval).AsInteger(), 600);
}

TEST_F(ControlPropertiesTest, ANewIntervalRestartsTheTimer) {
    LoadMain();
    TickLog log;
    log.Attach("OnStatusPoll");
    const DWORD start = GetTickCount();
    SetControlProperty(kMainWindowId, kStatusPollTimerId, kPropInterval, 600);
    PumpMessagesFor(300);
    SetControlProperty(kMainWindowId, kStatusPollTimerId, kPropInterval, 601);
    ASSERT_TRUE(PumpUntil([&] { return !log.ticks.empty(); }, 3000));
    EXPECT_GE(log.ticks[0] - start, 880u);
}

TEST_F(ControlPropertiesTest, ZeroAndNegativeIntervalsStopTheTimer) {
    LoadMain();
    for (int stop : {0, -5}) {
        TickLog log;
        log.Attach("OnCaptchaWatch");
        SetControlProperty(kMainWindowId, kCaptchaWatchTimerId, kPropInterval, 20);
        ASSERT_TRUE(PumpUntil([&] { return log.ticks.size() >= 2; }, 2000));
        SetControlProperty(kMainWindowId, kCaptchaWatchTimerId, kPropInterval, stop);
        const std::size_t seen = log.ticks.size();
        PumpMessagesFor(150);
        EXPECT_EQ(log.ticks.size(), seen) << stop;
        EXPECT_EQ(GetControlProperty(kMainWindowId, kCaptchaWatchTimerId, kPropInterval).AsInteger(), 0);
    }
}

TEST_F(ControlPropertiesTest, ReadingAPropertyOfAWindowNotLoadedIsFatal) {
    corvalin::testing::TempFolder folder;
    const ChildRun run = RunChildScenario("ReadFromUnloadedWindow", folder.File("out.txt"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
    EXPECT_EQ(run.errorBoxText, "运行时出错!\r\n\r\n错误信息：未载入欲访问窗口组件所在的窗口\r\n");
    EXPECT_EQ(ReadWholeFile(folder.File("out.txt")), "exit routine\n");
}

TEST_F(ControlPropertiesTest, AKindsOwnPropertyOfADestroyedControlIsFatal) {
    corvalin::testing::TempFolder folder;
    const ChildRun run = RunChildScenario("TextOfDestroyedEdit", folder.File("out.txt"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
    EXPECT_EQ(run.errorBoxText, "运行时出错!\r\n\r\n错误信息：指定窗口尚未载入\r\n");
    EXPECT_EQ(ReadWholeFile(folder.File("out.txt")), "left 79\nexit routine\n");
}

}  // namespace
}  // namespace corvalin::shell::testing
