// Skinning a top-level window: its record, its caption buttons and their
// geometry, and what a click on each caption button does.
#include "skin/window_frame.h"

#include <algorithm>

#include "skin/families/control_families.h"
#include "skin/images/builtin_images.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"
#include "skin/window_background.h"
#include "skin/skin_window_list.h"

namespace corvalin {
namespace {

SkinCaptionButton MakeCaptionButton(SkinCaptionKind kind, const char* toolTip, Bytes glyph, Bytes secondGlyph = {}) {
    SkinCaptionButton button;
    button.kind = kind;
    button.width = kind == kCaptionClose ? 38 : 26;
    button.height = 18;
    button.glyph = std::move(glyph);
    button.secondGlyph = std::move(secondGlyph);
    button.toolTipText = toolTip;
    return button;
}

}  // namespace

int CaptionStripWidth(const std::vector<SkinCaptionButton>& buttons) {
    int width = 0;
    for (const auto& button : buttons) width += button.width;
    return width + static_cast<int>(buttons.size()) - 1 + 3;
}

LONG_PTR InvokeCallback(INT_PTR routine, const std::vector<LONG_PTR>& arguments) {
    if (!routine) return 0;
    using L = LONG_PTR;
    const auto& a = arguments;
    switch (a.size()) {
    case 0: return reinterpret_cast<L(CALLBACK*)()>(routine)();
    case 1: return reinterpret_cast<L(CALLBACK*)(L)>(routine)(a[0]);
    case 2: return reinterpret_cast<L(CALLBACK*)(L, L)>(routine)(a[0], a[1]);
    case 3: return reinterpret_cast<L(CALLBACK*)(L, L, L)>(routine)(a[0], a[1], a[2]);
    case 4: return reinterpret_cast<L(CALLBACK*)(L, L, L, L)>(routine)(a[0], a[1], a[2], a[3]);
    case 5: return reinterpret_cast<L(CALLBACK*)(L, L, L, L, L)>(routine)(a[0], a[1], a[2], a[3], a[4]);
    case 6: return reinterpret_cast<L(CALLBACK*)(L, L, L, L, L, L)>(routine)(a[0], a[1], a[2], a[3], a[4], a[5]);
    default: return 0;   // no caller passes more; a wrong stdcall frame would corrupt the stack
    }
}

void SkinEngine::SkinWindow(HWND window, const SkinWindowOptions& options) {
    if (!window || FindWindowRecord(window)) return;
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    resizeBorderWidth = 3;

    SkinWindowRecord record;
    record.window = window;
    record.captionHeight = std::max(options.captionHeight.value_or(25), 25);
    record.helpButtonWanted = options.helpButton.value_or(0);
    record.menuButtonWanted = options.menuButton.value_or(0);
    record.minimizeBox = (style & WS_MINIMIZEBOX) ? 1 : 0;
    record.maximizeBox = (style & WS_MAXIMIZEBOX) ? 1 : 0;
    record.closeButton = 1;
    record.titleShown = options.titleShown.value_or(1);
    record.captionGloss = options.captionGloss.value_or(0);
    record.backgroundMode = options.backgroundMode.value_or(SkinBackMode);
    record.minTrackWidth = 200;
    record.minTrackHeight = 150;
    record.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    record.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    record.doubleClickMaximizes = options.doubleClickMaximizes.value_or(1);
    record.captionButtonsActive = options.captionButtonsActive.value_or(1);
    record.titleColor = 0xFFFFFF;
    record.titleShadowColor = 0x808080;
    record.titleFontName = "宋体";
    record.titleFontSize = 12;
    record.titleFontStyle = 1;

    if (!options.ownPicture.empty()) {
        record.backgroundColor = AverageColor(options.ownPicture);
        record.ownPicture = PreparePicture(options.ownPicture, {}, record.backgroundMode, record.backgroundColor);
    }

    if (record.helpButtonWanted) {
        record.captionButtons.push_back(MakeCaptionButton(kCaptionHelp, "帮助", CaptionHelpGlyph().ToBytes()));
    }
    if (record.menuButtonWanted) {
        record.captionButtons.push_back(MakeCaptionButton(kCaptionMenu, "主菜单", CaptionMenuGlyph().ToBytes()));
    }
    if (record.minimizeBox) {
        record.captionButtons.push_back(MakeCaptionButton(kCaptionMinimize, "最小化", CaptionMinGlyph().ToBytes()));
    }
    if (record.maximizeBox) {
        record.captionButtons.push_back(
            MakeCaptionButton(kCaptionMaximize, "最大化", CaptionMaxGlyph().ToBytes(), CaptionRestoreGlyph().ToBytes()));
    }
    record.captionButtons.push_back(MakeCaptionButton(kCaptionClose, "关闭", CaptionCloseGlyph().ToBytes()));

    RECT client{};
    GetClientRect(window, &client);
    record.captionStrip.width = CaptionStripWidth(record.captionButtons);
    record.captionStrip.height = 22;
    record.captionStrip.x = client.right - resizeBorderWidth - record.captionStrip.width - 2;
    record.captionStrip.y = 0;

    SetWindowLongPtrA(window, GWL_STYLE, style | WS_SYSMENU);

    const int n = AppendWindowRecord(std::move(record));
    SkinWindowRecord& added = WindowRecord(n);
    added.toolTip.Create(window);
    for (std::size_t i = 0; i < added.captionButtons.size(); ++i) {
        const SkinRectF& r = added.captionButtons[i].rect;
        added.toolTip.AddTool(i + 1,
                              RECT{static_cast<LONG>(r.x), static_cast<LONG>(r.y), static_cast<LONG>(r.x + r.width),
                                   static_cast<LONG>(r.y + r.height)},
                              added.captionButtons[i].toolTipText);
    }
    added.captionButtonCount = static_cast<int>(added.captionButtons.size());
    LayoutCaptionButtons(n);
    if (options.menu && *options.menu > 0) {
        SetMenuBar(n, *options.menu, options.menuItems, true);
    }
    WindowRecord(n).menuColor = 0;
    WindowRecord(n).menuHighlightColor = 0xFFFFFF;
    WindowRecord(n).menuFontName = "宋体";
    WindowRecord(n).menuFontSize = 12;
    LayoutMenuBar(n);

    SkinControlFamilies(n, window);

    // The record may have moved while the controls were registered.
    SkinWindowRecord& final = WindowRecord(n);
    final.previousProc = SubclassWindow(window, windowProcEntry);
    SetPropValue(window, kPropPreviousProc, reinterpret_cast<INT_PTR>(final.previousProc));
    SetPropValue(window, kPropListId, n);
}

void SkinEngine::PerformCaptionButton(int windowNumber, int buttonNumber) {
    if (!IsSkinWindowNumber(windowNumber)) return;
    SkinWindowRecord& record = WindowRecord(windowNumber);
    if (buttonNumber < 1 || buttonNumber > static_cast<int>(record.captionButtons.size())) return;
    const HWND window = record.window;
    const SkinCaptionButton& button = record.captionButtons[buttonNumber - 1];
    switch (button.kind) {
    case kCaptionClose:
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case kCaptionMaximize:
        record.repaintAll = 1;
        record.minimized = 0;
        if (record.maximized) {
            record.maximized = 0;
            SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        } else {
            record.maximized = 1;
            SendMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        }
        break;
    case kCaptionMinimize:
        record.minimized = 1;
        SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case kCaptionMenu:
        if (record.menuCallback) InvokeCallback(reinterpret_cast<INT_PTR>(record.menuCallback), {});
        break;
    case kCaptionHelp:
        if (record.helpCallback) InvokeCallback(reinterpret_cast<INT_PTR>(record.helpCallback), {});
        break;
    case kCaptionCustom:
        if (button.callback) InvokeCallback(reinterpret_cast<INT_PTR>(button.callback), {});
        break;
    default:
        break;
    }
}

}  // namespace corvalin
